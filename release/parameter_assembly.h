#pragma once
// The exit program's parameters: every value whose link destination names a number from 1
// to 20 becomes a form field "PARM<n>", one per row for a table field.

#include <cstdint>
#include <string_view>

#include "gateway/multipart_form.h"
#include "server/host_objects.h"

namespace quorlex {

inline constexpr std::int32_t firstParameter = 1;
inline constexpr std::int32_t lastParameter = 20;

// False only when the number of values cannot be read (then message 125 is logged).
// An exception from the host or from memory passes through to the caller; a field that did
// not fit into the body whole is std::bad_alloc too.
bool addParameters(IValues& values, MultipartForm& form);

// The number after the first "PARM" (case-sensitive), read as strtol would, held to the
// 32-bit range; -1 when there is no "PARM" or nothing follows it.
std::int32_t parameterIndex(std::u16string_view destination);

// Adds "PARM<number>" with the value when the number is 1 to 20; false otherwise. Throws
// std::bad_alloc when the field did not fit into the body whole.
bool addParameter(std::int32_t number, std::u16string_view value, MultipartForm& form);

// One field per readable row of the table value, in row order.
bool addTableRows(std::int32_t number, IValue& value, MultipartForm& form);

}  // namespace quorlex
