#pragma once
// One line of text for a result code, as it stands in the post's failure texts.

#include <string>

#include "common/result_code.h"

namespace quorlex {

// "Unable to contact server" for an unreachable server, else the platform's message text
// trimmed, else "Unknown error 0x%08lX".
std::u16string describeResult(ResultCode code);

}  // namespace quorlex
