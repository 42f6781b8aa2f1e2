#pragma once
// The texts of the codes that the requests and documents report, worded as Windows words
// them: Linux has no system message table at all, and Wine's WinHTTP carries none of its
// own, so that without these a failure would read as a bare number.

#include <optional>
#include <string>

#include "common/result_code.h"

namespace quorlex {

std::optional<std::u16string> transportMessageText(ResultCode code);

}  // namespace quorlex
