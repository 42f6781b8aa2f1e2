#pragma once
// The platform's own message text for a result code, where it has one.

#include <optional>
#include <string>

#include "common/result_code.h"

namespace quorlex {

// Without trailing line breaks; none when the platform knows no text for the code.
std::optional<std::u16string> systemMessageText(ResultCode code);

}  // namespace quorlex
