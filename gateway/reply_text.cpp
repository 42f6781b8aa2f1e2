#include "gateway/reply_text.h"

#include <algorithm>

#include "common/ascii.h"
#include "common/text.h"

namespace quorlex {
namespace {

std::string lowered(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
  return lower;
}

// The value of the charset parameter, lower case and unquoted; empty when there is none.
std::string charsetOf(std::string_view contentType) {
  std::string lower = lowered(contentType);
  std::size_t start = lower.find(';');
  while (start != std::string::npos) {
    std::size_t end = lower.find(';', start + 1);
    std::string parameter = lower.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    std::size_t first = parameter.find_first_not_of(" \t");
    if (first != std::string::npos && parameter.compare(first, 8, "charset=") == 0) {
      std::string value = parameter.substr(first + 8);
      value = value.substr(0, value.find_last_not_of(" \t") + 1);
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
      return value;
    }
    start = end;
  }
  return {};
}

std::u16string fromUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    unsigned first = bytes[i];
    unsigned second = bytes[i + 1];
    text.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return text;
}

std::u16string fromLatin1(std::span<const std::uint8_t> bytes) { return std::u16string(bytes.begin(), bytes.end()); }

std::u16string fromUtf8Bytes(std::span<const std::uint8_t> bytes) {
  return fromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

std::u16string decodeReplyText(std::span<const std::uint8_t> body, std::string_view contentType) {
  if (body.size() >= 3 && body[0] == 0xEF && body[1] == 0xBB && body[2] == 0xBF) return fromUtf8Bytes(body.subspan(3));
  if (body.size() >= 2 && body[0] == 0xFF && body[1] == 0xFE) return fromUtf16(body.subspan(2), false);
  if (body.size() >= 2 && body[0] == 0xFE && body[1] == 0xFF) return fromUtf16(body.subspan(2), true);
  std::string charset = charsetOf(contentType);
  if (charset == "iso-8859-1" || charset == "latin1" || charset == "us-ascii") return fromLatin1(body);
  return fromUtf8Bytes(body);
}

}  // namespace quorlex
