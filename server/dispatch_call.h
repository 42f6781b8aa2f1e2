#pragma once
// Late-bound calls on a host's IDispatch object: every member is found by name
// (GetIDsOfNames) and called through Invoke, never through a vtable the component cannot
// know. Only exactly 0 counts as success; a failure raised as an automation exception
// comes back as the exception's code.

#include <oaidl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/result_code.h"
#include "common/unique_variant.h"

namespace quorlex {

using DispatchArguments = std::vector<unique_variant>;

// Arguments, in their declared order. A text that cannot be copied throws std::bad_alloc.
unique_variant textArgument(std::u16string_view text);
unique_variant numberArgument(std::int32_t number);
template <class... Arguments>
DispatchArguments dispatchArguments(Arguments&&... arguments) {
  DispatchArguments list;
  list.reserve(sizeof...(arguments));
  (list.push_back(std::forward<Arguments>(arguments)), ...);
  return list;
}

class DispatchObject {
 public:
  DispatchObject() = default;
  explicit DispatchObject(com_ptr<IDispatch> object) : object_(std::move(object)) {}

  IDispatch* get() const { return object_.get(); }
  explicit operator bool() const { return static_cast<bool>(object_); }

  // Property get or method call (both are asked for, as late-bound callers do).
  ResultCode getText(const char16_t* member, std::u16string& out, DispatchArguments arguments = {}) const;
  ResultCode getNumber(const char16_t* member, std::int32_t& out, DispatchArguments arguments = {}) const;
  ResultCode getObject(const char16_t* member, com_ptr<IDispatch>& out, DispatchArguments arguments = {}) const;
  ResultCode putText(const char16_t* member, std::u16string_view value) const;
  // A method whose result is not wanted.
  ResultCode call(const char16_t* member, DispatchArguments arguments = {}) const;

  ResultCode memberId(const char16_t* member, DISPID& out) const;
  // flags are the DISPATCH_ flags; a property put passes its value as the named argument.
  ResultCode invoke(DISPID member, WORD flags, DispatchArguments& arguments, unique_variant* result) const;

 private:
  ResultCode invokeByName(const char16_t* member, WORD flags, DispatchArguments& arguments,
                          unique_variant* result) const;
  com_ptr<IDispatch> object_;
};

// The value as text (a BSTR as it is, anything else converted), as a 32-bit number, or as
// an object offering IDispatch; a null object is a failure.
ResultCode variantText(const VARIANT& value, std::u16string& out);
ResultCode variantNumber(const VARIANT& value, std::int32_t& out);
ResultCode variantObject(const VARIANT& value, com_ptr<IDispatch>& out);

}  // namespace quorlex
