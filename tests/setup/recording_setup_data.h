#pragma once
// The host's setup data with every write, every collection fetched for writing and Apply
// noted in order, passed on to the in-memory host.

#include <memory>
#include <string>
#include <vector>

#include "server/host_objects.h"

namespace quorlex::test_support {

class RecordingSetupData final : public IReleaseSetupData {
 public:
  explicit RecordingSetupData(std::shared_ptr<IReleaseSetupData> data) : data_(std::move(data)) {}
  std::vector<std::string> calls;

  ResultCode name(std::u16string& out) override { return data_->name(out); }
  ResultCode setName(const std::u16string& value) override { return note("Name", data_->setName(value)); }
  ResultCode userName(std::u16string& out) override { return data_->userName(out); }
  ResultCode setUserName(const std::u16string& value) override { return note("UserName", data_->setUserName(value)); }
  ResultCode password(std::u16string& out) override { return data_->password(out); }
  ResultCode setPassword(const std::u16string& value) override { return note("Password", data_->setPassword(value)); }
  ResultCode docClassName(std::u16string& out) override { return data_->docClassName(out); }
  ResultCode batchClassName(std::u16string& out) override { return data_->batchClassName(out); }
  ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) override {
    return note("CustomProperties", data_->customProperties(out));
  }
  ResultCode links(std::shared_ptr<ILinks>& out) override { return note("Links", data_->links(out)); }
  ResultCode indexFields(std::shared_ptr<IIndexFields>& out) override { return data_->indexFields(out); }
  ResultCode batchVariableNames(std::shared_ptr<IValueNameCollection>& out) override {
    return data_->batchVariableNames(out);
  }
  ResultCode apply() override { return note("Apply", data_->apply()); }

 private:
  ResultCode note(const char* call, ResultCode code) {
    calls.emplace_back(call);
    return code;
  }
  std::shared_ptr<IReleaseSetupData> data_;
};

}  // namespace quorlex::test_support
