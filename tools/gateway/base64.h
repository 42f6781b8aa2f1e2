#pragma once
// Base64 as HTTP Basic credentials carry it.

#include <optional>
#include <string>
#include <string_view>

namespace quorlex::gateway {

// The decoded bytes; none for text that is not padded base64 of the standard alphabet.
std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace quorlex::gateway
