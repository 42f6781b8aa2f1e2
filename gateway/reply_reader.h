#pragma once
// Reads the gateway's own description of an outcome out of its reply body.

#include <string>
#include <string_view>

namespace quorlex {

// The text of the first element whose attribute id is exactly statusDescription; empty when
// the reply is not (valid) XML, holds no such element, or anything on the way fails.
std::u16string readStatusDescription(std::u16string_view replyText) noexcept;

}  // namespace quorlex
