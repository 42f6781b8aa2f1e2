#pragma once
// Transport failures other than an unreachable server, as the Windows request objects
// report them: WinINet error numbers lifted to result codes. The Linux request uses the
// same codes, so that a log reads alike on both.

#include "common/result_code.h"

namespace quorlex::transportCode {

inline constexpr ResultCode timeout = fromPlatformError(12002);
inline constexpr ResultCode internalError = fromPlatformError(12004);
inline constexpr ResultCode invalidUrl = fromPlatformError(12005);
inline constexpr ResultCode unrecognizedScheme = fromPlatformError(12006);
inline constexpr ResultCode connectionAborted = fromPlatformError(12030);
inline constexpr ResultCode certificateErrors = fromPlatformError(12055);
inline constexpr ResultCode invalidServerResponse = fromPlatformError(12152);
inline constexpr ResultCode secureChannelError = fromPlatformError(12157);

}  // namespace quorlex::transportCode
