#pragma once
// The reply body as text, as a browser's request object decodes it.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quorlex {

// A byte-order mark decides first (UTF-8, UTF-16 LE or BE), then a charset parameter of the
// Content-Type naming ISO-8859-1 or US-ASCII; everything else is read as UTF-8.
std::u16string decodeReplyText(std::span<const std::uint8_t> body, std::string_view contentType);

}  // namespace quorlex
