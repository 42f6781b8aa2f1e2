#pragma once
// The host's release objects as the system uses them. Every operation returns a result
// code and only exactly 0 is success (hostSucceeded); collection positions are 1-based.
// On Windows these are implemented over the host's IDispatch objects; on Linux by the
// in-memory host. Out-parameters are written only on success.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/result_code.h"

namespace quorlex {

enum KfxReturnValue : std::int32_t {
  KFX_REL_SUCCESS = 0,
  KFX_REL_ERROR = -1,
  KFX_REL_UNSUPPORTED = 4,
};

enum KfxLinkSourceType : std::int32_t {
  KFX_REL_UNDEFINED_LINK = -1,
  KFX_REL_INDEXFIELD = 0,
  KFX_REL_TEXTCONSTANT = 1,
  KFX_REL_VARIABLE = 2,
  KFX_REL_BATCHFIELD = 3,
};

enum KfxActionValue : std::int32_t {
  KFX_REL_UNDEFINED_ACTION = -1,
  KFX_REL_DOCCLASS_RENAME = 0,
  KFX_REL_BATCHCLASS_RENAME = 1,
  KFX_REL_INDEXFIELD_DELETE = 2,
  KFX_REL_INDEXFIELD_INSERT = 3,
  KFX_REL_INDEXFIELD_RENAME = 4,
  KFX_REL_BATCHFIELD_DELETE = 5,
  KFX_REL_BATCHFIELD_INSERT = 6,
  KFX_REL_BATCHFIELD_RENAME = 7,
  KFX_REL_RELEASESETUP_DELETE = 8,
  KFX_REL_IMPORT = 9,
  KFX_REL_UPGRADE = 10,
  KFX_REL_PUBLISH_CHECK = 11,
  KFX_REL_START = 12,
  KFX_REL_END = 13,
  KFX_REL_FOLDERCLASS_INSERT = 14,
  KFX_REL_FOLDERCLASS_RENAME = 15,
  KFX_REL_FOLDERCLASS_DELETE = 16,
  KFX_REL_TABLE_DELETE = 17,
  KFX_REL_TABLE_INSERT = 18,
  KFX_REL_TABLE_RENAME = 19,
};

// Message kind of SendMessage's InfoRet.
constexpr std::int32_t KFX_REL_DOC_ERROR = 1;

class ICustomProperty {
 public:
  virtual ~ICustomProperty() = default;
  virtual ResultCode value(std::u16string& out) = 0;
};

class ICustomProperties {
 public:
  virtual ~ICustomProperties() = default;
  // Fails when there is no property of that exact name.
  virtual ResultCode item(const std::u16string& name, std::shared_ptr<ICustomProperty>& out) = 0;
  virtual ResultCode remove(const std::u16string& name) = 0;
  virtual ResultCode add(const std::u16string& name, const std::u16string& value) = 0;
};

class IRowValue {
 public:
  virtual ~IRowValue() = default;
  virtual ResultCode value(std::u16string& out) = 0;
};

// Interface {2044A7E0-C29E-49E1-A862-AAB6020ED02F} on the host.
class IRowValues {
 public:
  virtual ~IRowValues() = default;
  virtual ResultCode count(std::int32_t& out) = 0;
  virtual ResultCode item(std::int32_t row, std::shared_ptr<IRowValue>& out) = 0;
};

class IValue {
 public:
  virtual ~IValue() = default;
  virtual ResultCode destination(std::u16string& out) = 0;
  virtual ResultCode value(std::u16string& out) = 0;
  virtual ResultCode tableName(std::u16string& out) = 0;
  // The key is the plain integer 0 (VT_INT on the host). Success with a null out means the
  // object that came back does not offer IRowValues.
  virtual ResultCode rowValues(std::int32_t key, std::shared_ptr<IRowValues>& out) = 0;
};

class IValues {
 public:
  virtual ~IValues() = default;
  virtual ResultCode count(std::int32_t& out) = 0;
  virtual ResultCode item(std::int32_t position, std::shared_ptr<IValue>& out) = 0;
};

class IReleaseData {
 public:
  virtual ~IReleaseData() = default;
  virtual ResultCode userName(std::u16string& out) = 0;
  virtual ResultCode password(std::u16string& out) = 0;
  virtual ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) = 0;
  virtual ResultCode values(std::shared_ptr<IValues>& out) = 0;
  virtual ResultCode logError(std::int32_t err1, std::int32_t err2, std::int32_t err3,
                              const std::u16string& errorMessage, const std::u16string& codeModule,
                              std::int32_t lineNumber) = 0;
  virtual ResultCode sendMessage(const std::u16string& messageString, std::int32_t errorNumber,
                                 std::int32_t infoRet) = 0;
};

class ILink {
 public:
  virtual ~ILink() = default;
  virtual ResultCode source(std::u16string& out) = 0;
  virtual ResultCode sourceType(std::int32_t& out) = 0;
  virtual ResultCode destination(std::u16string& out) = 0;
};

class ILinks {
 public:
  virtual ~ILinks() = default;
  virtual ResultCode count(std::int32_t& out) = 0;
  virtual ResultCode item(std::int32_t position, std::shared_ptr<ILink>& out) = 0;
  virtual ResultCode removeAll() = 0;
  virtual ResultCode add(const std::u16string& source, std::int32_t sourceType,
                         const std::u16string& destination) = 0;
};

class IIndexField {
 public:
  virtual ~IIndexField() = default;
  virtual ResultCode name(std::u16string& out) = 0;
};

class IIndexFields {
 public:
  virtual ~IIndexFields() = default;
  virtual ResultCode count(std::int32_t& out) = 0;
  virtual ResultCode item(std::int32_t position, std::shared_ptr<IIndexField>& out) = 0;
};

// The enumerator of the host's value names: one text per element.
class IValueNameEnumerator {
 public:
  virtual ~IValueNameEnumerator() = default;
  // Success with an empty optional means the enumerator has no more elements.
  virtual ResultCode next(std::optional<std::u16string>& out) = 0;
};

// BatchVariableNames as one of the host's two collection interfaces
// ({2F8DEB57-941D-4E2C-81B5-D16E3B82C2C8}, else {852FDE3C-8C75-4550-9749-07F8FF6CE9B1}).
class IValueNameCollection {
 public:
  virtual ~IValueNameCollection() = default;
  virtual ResultCode enumerator(std::shared_ptr<IValueNameEnumerator>& out) = 0;
};

class IReleaseSetupData {
 public:
  virtual ~IReleaseSetupData() = default;
  virtual ResultCode name(std::u16string& out) = 0;
  virtual ResultCode setName(const std::u16string& value) = 0;
  virtual ResultCode userName(std::u16string& out) = 0;
  virtual ResultCode setUserName(const std::u16string& value) = 0;
  virtual ResultCode password(std::u16string& out) = 0;
  virtual ResultCode setPassword(const std::u16string& value) = 0;
  virtual ResultCode docClassName(std::u16string& out) = 0;
  virtual ResultCode batchClassName(std::u16string& out) = 0;
  virtual ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) = 0;
  virtual ResultCode links(std::shared_ptr<ILinks>& out) = 0;
  virtual ResultCode indexFields(std::shared_ptr<IIndexFields>& out) = 0;
  // Success with a null out means the object offers neither collection interface.
  virtual ResultCode batchVariableNames(std::shared_ptr<IValueNameCollection>& out) = 0;
  virtual ResultCode apply() = 0;
};

}  // namespace quorlex
