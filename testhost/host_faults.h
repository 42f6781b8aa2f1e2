#pragma once
// Failure injection for the in-memory host: any one host operation can be made to fail
// with a given code (on every call or on its k-th call), or to throw, so that every
// "if that fails" branch of the callers can be driven.

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/result_code.h"

namespace quorlex {

enum class HostOperation {
  // IReleaseData
  ReleaseUserName, ReleasePassword, ReleaseCustomProperties, ReleaseValues, LogError, SendMessage,
  // custom properties
  CustomPropertiesItem, CustomPropertyValue, CustomPropertiesRemove, CustomPropertiesAdd,
  // values and rows
  ValuesCount, ValuesItem, ValueDestination, ValueValue, ValueTableName, ValueRowValues,
  RowValuesInterface,  // RowValues succeeds but its object lacks IRowValues
  RowValuesCount, RowValuesItem, RowValueValue,
  // IReleaseSetupData
  SetupName, SetupSetName, SetupUserName, SetupSetUserName, SetupPassword, SetupSetPassword,
  SetupDocClassName, SetupBatchClassName, SetupCustomProperties, SetupLinks, SetupIndexFields,
  SetupBatchVariableNames,
  ValueNamesInterface,  // BatchVariableNames succeeds but offers neither collection interface
  ValueNamesEnumerator, ValueNamesNext, Apply,
  // links and index fields
  LinksCount, LinksItem, LinksRemoveAll, LinksAdd, LinkSource, LinkSourceType, LinkDestination,
  IndexFieldsCount, IndexFieldsItem, IndexFieldName,
  Count_  // the number of operations
};

class HostFaults {
 public:
  // Fail the operation with code; onCall 0 means every call, k > 0 only the k-th.
  void fail(HostOperation operation, ResultCode code, int onCall = 0);
  // Throw std::bad_alloc from the operation (every call, or only the k-th).
  void throwOn(HostOperation operation, int onCall = 0);
  void clear();

  // Counts the call and gives the code it is to return; throws where told to.
  ResultCode check(HostOperation operation);
  int calls(HostOperation operation) const;

 private:
  struct Fault {
    bool set = false;
    ResultCode code = resultOk;
    int onCall = 0;
    bool throws = false;
  };
  // Indexed by operation: every host call passes here.
  static constexpr std::size_t operationCount = static_cast<std::size_t>(HostOperation::Count_);
  std::array<Fault, operationCount> faults_{};
  std::array<int, operationCount> calls_{};
};

}  // namespace quorlex
