#include "testhost/memory_host.h"

#include <algorithm>

namespace quorlex {

struct MemoryHost::State {
  SetupRecord record;
  std::optional<SetupRecord> applied;
  int applyCount = 0;
  // The current document's values; value objects handed out keep the set they came from.
  std::shared_ptr<const std::vector<MemoryValue>> values = std::make_shared<const std::vector<MemoryValue>>();
  HostFaults faults;
  std::vector<HostEvent> events;
  std::function<void(const HostEvent&)> observer;

  void record_event(HostEvent event) {
    events.push_back(std::move(event));
    if (observer) observer(events.back());
  }
};

namespace {

using State = MemoryHost::State;
using StatePtr = std::shared_ptr<State>;
using ValuesPtr = std::shared_ptr<const std::vector<MemoryValue>>;

// Reads a text through the fault check: the out-parameter is written only on success.
ResultCode readText(State& state, HostOperation operation, const std::u16string& source, std::u16string& out) {
  ResultCode code = state.faults.check(operation);
  if (hostSucceeded(code)) out = source;
  return code;
}

bool outOfRange(std::int32_t position, std::size_t size) {
  return position < 1 || static_cast<std::size_t>(position) > size;
}

class MemoryCustomProperty final : public ICustomProperty {
 public:
  MemoryCustomProperty(StatePtr state, std::u16string value) : state_(std::move(state)), value_(std::move(value)) {}
  ResultCode value(std::u16string& out) override {
    return readText(*state_, HostOperation::CustomPropertyValue, value_, out);
  }

 private:
  StatePtr state_;
  std::u16string value_;
};

class MemoryCustomProperties final : public ICustomProperties {
 public:
  explicit MemoryCustomProperties(StatePtr state) : state_(std::move(state)) {}

  ResultCode item(const std::u16string& name, std::shared_ptr<ICustomProperty>& out) override {
    ResultCode code = state_->faults.check(HostOperation::CustomPropertiesItem);
    if (!hostSucceeded(code)) return code;
    auto found = find(name);
    if (found == properties().end()) return resultInvalidArgument;
    out = std::make_shared<MemoryCustomProperty>(state_, found->second);
    return resultOk;
  }

  ResultCode remove(const std::u16string& name) override {
    ResultCode code = state_->faults.check(HostOperation::CustomPropertiesRemove);
    if (!hostSucceeded(code)) return code;
    auto found = find(name);
    if (found == properties().end()) return resultInvalidArgument;
    properties().erase(found);
    return resultOk;
  }

  ResultCode add(const std::u16string& name, const std::u16string& value) override {
    ResultCode code = state_->faults.check(HostOperation::CustomPropertiesAdd);
    if (!hostSucceeded(code)) return code;
    // Like the host, a second Add of the same name is refused; callers Remove first.
    if (find(name) != properties().end()) return resultInvalidArgument;
    properties().emplace_back(name, value);
    return resultOk;
  }

 private:
  using PropertyList = std::vector<std::pair<std::u16string, std::u16string>>;
  PropertyList& properties() { return state_->record.customProperties; }
  PropertyList::iterator find(const std::u16string& name) {
    return std::find_if(properties().begin(), properties().end(),
                        [&](const auto& property) { return property.first == name; });
  }
  StatePtr state_;
};

class MemoryRowValue final : public IRowValue {
 public:
  MemoryRowValue(StatePtr state, std::u16string value) : state_(std::move(state)), value_(std::move(value)) {}
  ResultCode value(std::u16string& out) override { return readText(*state_, HostOperation::RowValueValue, value_, out); }

 private:
  StatePtr state_;
  std::u16string value_;
};

class MemoryRowValues final : public IRowValues {
 public:
  MemoryRowValues(StatePtr state, ValuesPtr values, std::size_t index)
      : state_(std::move(state)), values_(std::move(values)), rows_((*values_)[index].rows) {}

  ResultCode count(std::int32_t& out) override {
    ResultCode code = state_->faults.check(HostOperation::RowValuesCount);
    if (hostSucceeded(code)) out = static_cast<std::int32_t>(rows_.size());
    return code;
  }

  ResultCode item(std::int32_t row, std::shared_ptr<IRowValue>& out) override {
    ResultCode code = state_->faults.check(HostOperation::RowValuesItem);
    if (!hostSucceeded(code)) return code;
    if (outOfRange(row, rows_.size())) return resultInvalidArgument;
    out = std::make_shared<MemoryRowValue>(state_, rows_[static_cast<std::size_t>(row - 1)]);
    return resultOk;
  }

 private:
  StatePtr state_;
  ValuesPtr values_;
  const std::vector<std::u16string>& rows_;
};

class MemoryValueObject final : public IValue {
 public:
  MemoryValueObject(StatePtr state, ValuesPtr values, std::size_t index)
      : state_(std::move(state)), values_(std::move(values)), index_(index), value_((*values_)[index]) {}

  ResultCode destination(std::u16string& out) override {
    return readText(*state_, HostOperation::ValueDestination, value_.destination, out);
  }
  ResultCode value(std::u16string& out) override { return readText(*state_, HostOperation::ValueValue, value_.value, out); }
  ResultCode tableName(std::u16string& out) override {
    return readText(*state_, HostOperation::ValueTableName, value_.tableName, out);
  }

  ResultCode rowValues(std::int32_t key, std::shared_ptr<IRowValues>& out) override {
    ResultCode code = state_->faults.check(HostOperation::ValueRowValues);
    if (!hostSucceeded(code)) return code;
    if (key != 0) return resultInvalidArgument;
    if (!hostSucceeded(state_->faults.check(HostOperation::RowValuesInterface))) {
      out = nullptr;
      return resultOk;
    }
    out = std::make_shared<MemoryRowValues>(state_, values_, index_);
    return resultOk;
  }

 private:
  StatePtr state_;
  ValuesPtr values_;
  std::size_t index_;
  const MemoryValue& value_;
};

class MemoryValues final : public IValues {
 public:
  explicit MemoryValues(StatePtr state) : state_(std::move(state)) {}

  ResultCode count(std::int32_t& out) override {
    ResultCode code = state_->faults.check(HostOperation::ValuesCount);
    if (hostSucceeded(code)) out = static_cast<std::int32_t>(state_->values->size());
    return code;
  }

  ResultCode item(std::int32_t position, std::shared_ptr<IValue>& out) override {
    ResultCode code = state_->faults.check(HostOperation::ValuesItem);
    if (!hostSucceeded(code)) return code;
    if (outOfRange(position, state_->values->size())) return resultInvalidArgument;
    out = std::make_shared<MemoryValueObject>(state_, state_->values, static_cast<std::size_t>(position - 1));
    return resultOk;
  }

 private:
  StatePtr state_;
};

class MemoryReleaseData final : public IReleaseData {
 public:
  explicit MemoryReleaseData(StatePtr state) : state_(std::move(state)) {}

  ResultCode userName(std::u16string& out) override {
    return readText(*state_, HostOperation::ReleaseUserName, state_->record.userName, out);
  }
  ResultCode password(std::u16string& out) override {
    return readText(*state_, HostOperation::ReleasePassword, state_->record.password, out);
  }

  ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) override {
    ResultCode code = state_->faults.check(HostOperation::ReleaseCustomProperties);
    if (hostSucceeded(code)) out = std::make_shared<MemoryCustomProperties>(state_);
    return code;
  }

  ResultCode values(std::shared_ptr<IValues>& out) override {
    ResultCode code = state_->faults.check(HostOperation::ReleaseValues);
    if (hostSucceeded(code)) out = std::make_shared<MemoryValues>(state_);
    return code;
  }

  ResultCode logError(std::int32_t err1, std::int32_t err2, std::int32_t err3, const std::u16string& errorMessage,
                      const std::u16string& codeModule, std::int32_t lineNumber) override {
    ResultCode code = state_->faults.check(HostOperation::LogError);
    if (!hostSucceeded(code)) return code;
    HostEvent event;
    event.kind = HostEvent::Kind::LogError;
    event.message = errorMessage;
    event.err1 = err1;
    event.err2 = err2;
    event.err3 = err3;
    event.codeModule = codeModule;
    event.lineNumber = lineNumber;
    state_->record_event(std::move(event));
    return resultOk;
  }

  ResultCode sendMessage(const std::u16string& messageString, std::int32_t errorNumber, std::int32_t infoRet) override {
    ResultCode code = state_->faults.check(HostOperation::SendMessage);
    if (!hostSucceeded(code)) return code;
    HostEvent event;
    event.kind = HostEvent::Kind::SendMessage;
    event.message = messageString;
    event.errorNumber = errorNumber;
    event.infoRet = infoRet;
    state_->record_event(std::move(event));
    return resultOk;
  }

 private:
  StatePtr state_;
};

class MemoryLinkObject final : public ILink {
 public:
  MemoryLinkObject(StatePtr state, MemoryLink link) : state_(std::move(state)), link_(std::move(link)) {}
  ResultCode source(std::u16string& out) override { return readText(*state_, HostOperation::LinkSource, link_.source, out); }
  ResultCode sourceType(std::int32_t& out) override {
    ResultCode code = state_->faults.check(HostOperation::LinkSourceType);
    if (hostSucceeded(code)) out = link_.sourceType;
    return code;
  }
  ResultCode destination(std::u16string& out) override {
    return readText(*state_, HostOperation::LinkDestination, link_.destination, out);
  }

 private:
  StatePtr state_;
  MemoryLink link_;
};

class MemoryLinks final : public ILinks {
 public:
  explicit MemoryLinks(StatePtr state) : state_(std::move(state)) {}

  ResultCode count(std::int32_t& out) override {
    ResultCode code = state_->faults.check(HostOperation::LinksCount);
    if (hostSucceeded(code)) out = static_cast<std::int32_t>(state_->record.links.size());
    return code;
  }

  ResultCode item(std::int32_t position, std::shared_ptr<ILink>& out) override {
    ResultCode code = state_->faults.check(HostOperation::LinksItem);
    if (!hostSucceeded(code)) return code;
    if (outOfRange(position, state_->record.links.size())) return resultInvalidArgument;
    out = std::make_shared<MemoryLinkObject>(state_, state_->record.links[static_cast<std::size_t>(position - 1)]);
    return resultOk;
  }

  ResultCode removeAll() override {
    ResultCode code = state_->faults.check(HostOperation::LinksRemoveAll);
    if (hostSucceeded(code)) state_->record.links.clear();
    return code;
  }

  ResultCode add(const std::u16string& source, std::int32_t sourceType, const std::u16string& destination) override {
    ResultCode code = state_->faults.check(HostOperation::LinksAdd);
    if (hostSucceeded(code)) state_->record.links.push_back(MemoryLink{source, sourceType, destination});
    return code;
  }

 private:
  StatePtr state_;
};

class MemoryIndexField final : public IIndexField {
 public:
  MemoryIndexField(StatePtr state, std::u16string name) : state_(std::move(state)), name_(std::move(name)) {}
  ResultCode name(std::u16string& out) override { return readText(*state_, HostOperation::IndexFieldName, name_, out); }

 private:
  StatePtr state_;
  std::u16string name_;
};

class MemoryIndexFields final : public IIndexFields {
 public:
  explicit MemoryIndexFields(StatePtr state) : state_(std::move(state)) {}

  ResultCode count(std::int32_t& out) override {
    ResultCode code = state_->faults.check(HostOperation::IndexFieldsCount);
    if (hostSucceeded(code)) out = static_cast<std::int32_t>(state_->record.indexFields.size());
    return code;
  }

  ResultCode item(std::int32_t position, std::shared_ptr<IIndexField>& out) override {
    ResultCode code = state_->faults.check(HostOperation::IndexFieldsItem);
    if (!hostSucceeded(code)) return code;
    if (outOfRange(position, state_->record.indexFields.size())) return resultInvalidArgument;
    out = std::make_shared<MemoryIndexField>(state_, state_->record.indexFields[static_cast<std::size_t>(position - 1)]);
    return resultOk;
  }

 private:
  StatePtr state_;
};

class MemoryValueNameEnumerator final : public IValueNameEnumerator {
 public:
  MemoryValueNameEnumerator(StatePtr state, std::vector<std::u16string> names)
      : state_(std::move(state)), names_(std::move(names)) {}

  ResultCode next(std::optional<std::u16string>& out) override {
    ResultCode code = state_->faults.check(HostOperation::ValueNamesNext);
    if (!hostSucceeded(code)) return code;
    if (position_ < names_.size()) {
      out = names_[position_++];
    } else {
      out.reset();
    }
    return resultOk;
  }

 private:
  StatePtr state_;
  std::vector<std::u16string> names_;
  std::size_t position_ = 0;
};

class MemoryValueNames final : public IValueNameCollection {
 public:
  explicit MemoryValueNames(StatePtr state) : state_(std::move(state)) {}
  ResultCode enumerator(std::shared_ptr<IValueNameEnumerator>& out) override {
    ResultCode code = state_->faults.check(HostOperation::ValueNamesEnumerator);
    if (hostSucceeded(code)) out = std::make_shared<MemoryValueNameEnumerator>(state_, state_->record.batchVariableNames);
    return code;
  }

 private:
  StatePtr state_;
};

class MemorySetupData final : public IReleaseSetupData {
 public:
  explicit MemorySetupData(StatePtr state) : state_(std::move(state)) {}

  ResultCode name(std::u16string& out) override { return readText(*state_, HostOperation::SetupName, record().name, out); }
  ResultCode setName(const std::u16string& value) override { return write(HostOperation::SetupSetName, record().name, value); }
  ResultCode userName(std::u16string& out) override {
    return readText(*state_, HostOperation::SetupUserName, record().userName, out);
  }
  ResultCode setUserName(const std::u16string& value) override {
    return write(HostOperation::SetupSetUserName, record().userName, value);
  }
  ResultCode password(std::u16string& out) override {
    return readText(*state_, HostOperation::SetupPassword, record().password, out);
  }
  ResultCode setPassword(const std::u16string& value) override {
    return write(HostOperation::SetupSetPassword, record().password, value);
  }
  ResultCode docClassName(std::u16string& out) override {
    return readText(*state_, HostOperation::SetupDocClassName, record().docClassName, out);
  }
  ResultCode batchClassName(std::u16string& out) override {
    return readText(*state_, HostOperation::SetupBatchClassName, record().batchClassName, out);
  }

  ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) override {
    ResultCode code = state_->faults.check(HostOperation::SetupCustomProperties);
    if (hostSucceeded(code)) out = std::make_shared<MemoryCustomProperties>(state_);
    return code;
  }
  ResultCode links(std::shared_ptr<ILinks>& out) override {
    ResultCode code = state_->faults.check(HostOperation::SetupLinks);
    if (hostSucceeded(code)) out = std::make_shared<MemoryLinks>(state_);
    return code;
  }
  ResultCode indexFields(std::shared_ptr<IIndexFields>& out) override {
    ResultCode code = state_->faults.check(HostOperation::SetupIndexFields);
    if (hostSucceeded(code)) out = std::make_shared<MemoryIndexFields>(state_);
    return code;
  }
  ResultCode batchVariableNames(std::shared_ptr<IValueNameCollection>& out) override {
    ResultCode code = state_->faults.check(HostOperation::SetupBatchVariableNames);
    if (!hostSucceeded(code)) return code;
    if (!hostSucceeded(state_->faults.check(HostOperation::ValueNamesInterface))) {
      out = nullptr;
      return resultOk;
    }
    out = std::make_shared<MemoryValueNames>(state_);
    return resultOk;
  }

  ResultCode apply() override {
    ResultCode code = state_->faults.check(HostOperation::Apply);
    if (!hostSucceeded(code)) return code;
    ++state_->applyCount;
    state_->applied = state_->record;
    return resultOk;
  }

 private:
  SetupRecord& record() { return state_->record; }
  ResultCode write(HostOperation operation, std::u16string& target, const std::u16string& value) {
    ResultCode code = state_->faults.check(operation);
    if (hostSucceeded(code)) target = value;
    return code;
  }
  StatePtr state_;
};

}  // namespace

MemoryHost::MemoryHost() : state_(std::make_shared<State>()) {}

SetupRecord& MemoryHost::record() { return state_->record; }
const SetupRecord& MemoryHost::record() const { return state_->record; }
const std::optional<SetupRecord>& MemoryHost::appliedRecord() const { return state_->applied; }
int MemoryHost::applyCount() const { return state_->applyCount; }

void MemoryHost::setDocumentValues(std::vector<MemoryValue> values) {
  state_->values = std::make_shared<const std::vector<MemoryValue>>(std::move(values));
}

HostFaults& MemoryHost::faults() { return state_->faults; }
const std::vector<HostEvent>& MemoryHost::events() const { return state_->events; }
void MemoryHost::clearEvents() { state_->events.clear(); }
void MemoryHost::setEventObserver(std::function<void(const HostEvent&)> observer) {
  state_->observer = std::move(observer);
}

std::shared_ptr<IReleaseData> MemoryHost::releaseData() { return std::make_shared<MemoryReleaseData>(state_); }
std::shared_ptr<IReleaseSetupData> MemoryHost::setupData() { return std::make_shared<MemorySetupData>(state_); }

}  // namespace quorlex
