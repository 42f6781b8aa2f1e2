#pragma once
// An in-memory host: one release-setup record, the current document's values, and a log
// of every LogError and SendMessage in order. It hands out IReleaseData and
// IReleaseSetupData objects over that state, as the real host hands out its own.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "server/host_objects.h"
#include "testhost/host_faults.h"

namespace quorlex {

struct MemoryLink {
  std::u16string source;
  std::int32_t sourceType = KFX_REL_UNDEFINED_LINK;
  std::u16string destination;
  bool operator==(const MemoryLink&) const = default;
};

// One value of a document, as the host resolves a link at release time.
struct MemoryValue {
  std::u16string destination;
  std::u16string value;
  std::u16string tableName;            // empty for a single-value field
  std::vector<std::u16string> rows;    // the table column's rows
  bool operator==(const MemoryValue&) const = default;
};

struct SetupRecord {
  std::u16string name;
  std::u16string userName;
  std::u16string password;
  std::u16string docClassName;
  std::u16string batchClassName;
  std::vector<std::pair<std::u16string, std::u16string>> customProperties;  // in the order added
  std::vector<MemoryLink> links;                                            // in the order added
  std::vector<std::u16string> indexFields;
  std::vector<std::u16string> batchVariableNames;
  bool operator==(const SetupRecord&) const = default;
};

struct HostEvent {
  enum class Kind { LogError, SendMessage };
  Kind kind = Kind::LogError;
  std::u16string message;
  // LogError
  std::int32_t err1 = 0, err2 = 0, err3 = 0;
  std::u16string codeModule;
  std::int32_t lineNumber = 0;
  // SendMessage
  std::int32_t errorNumber = 0;
  std::int32_t infoRet = 0;
  bool operator==(const HostEvent&) const = default;
};

class MemoryHost {
 public:
  MemoryHost();

  SetupRecord& record();
  const SetupRecord& record() const;
  // The record as of the last Apply, and how often Apply was called.
  const std::optional<SetupRecord>& appliedRecord() const;
  int applyCount() const;

  void setDocumentValues(std::vector<MemoryValue> values);

  HostFaults& faults();
  const std::vector<HostEvent>& events() const;
  void clearEvents();
  // Called for every LogError and SendMessage as it happens, after it is recorded.
  void setEventObserver(std::function<void(const HostEvent&)> observer);

  std::shared_ptr<IReleaseData> releaseData();
  std::shared_ptr<IReleaseSetupData> setupData();

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace quorlex
