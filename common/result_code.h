#pragma once
// 32-bit result codes: 0 is success, a negative value a failure.

#include <cstdint>
#include <string>

namespace quorlex {

using ResultCode = std::int32_t;

constexpr ResultCode resultOk = 0;
constexpr ResultCode resultNotImplemented = static_cast<ResultCode>(0x80004001);  // E_NOTIMPL
constexpr ResultCode resultFail = static_cast<ResultCode>(0x80004005);            // E_FAIL
constexpr ResultCode resultUnexpected = static_cast<ResultCode>(0x8000FFFF);      // E_UNEXPECTED
constexpr ResultCode resultOutOfMemory = static_cast<ResultCode>(0x8007000E);     // E_OUTOFMEMORY
constexpr ResultCode resultInvalidArgument = static_cast<ResultCode>(0x80070057); // E_INVALIDARG

// The host counts only exactly 0 as success; positive codes are failures too.
constexpr bool hostSucceeded(ResultCode code) { return code == resultOk; }

// Platform operations fail with a negative code; positive codes are successes there.
constexpr bool failed(ResultCode code) { return code < 0; }

// A platform error number e becomes e OR 0x80070000.
constexpr ResultCode fromPlatformError(std::uint32_t error) {
  return static_cast<ResultCode>(error | 0x80070000u);
}

// "0x%08lX": 0x and eight upper-case hexadecimal digits.
std::u16string formatCode(ResultCode code);

}  // namespace quorlex
