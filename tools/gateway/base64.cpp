#include "tools/gateway/base64.h"

namespace quorlex::gateway {
namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::optional<std::string> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string bytes;
  for (std::size_t at = 0; at < text.size(); at += 4) {
    std::string_view group = text.substr(at, 4);
    std::size_t padding = group.ends_with("==") ? 2 : group.ends_with('=') ? 1 : 0;
    if (padding > 0 && at + 4 != text.size()) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      std::size_t digit = i < 4 - padding ? alphabet.find(group[i]) : 0;
      if (digit == std::string_view::npos) return std::nullopt;
      value = (value << 6) | static_cast<unsigned>(digit);
    }
    bytes.push_back(static_cast<char>((value >> 16) & 0xFF));
    if (padding < 2) bytes.push_back(static_cast<char>((value >> 8) & 0xFF));
    if (padding < 1) bytes.push_back(static_cast<char>(value & 0xFF));
  }
  return bytes;
}

}  // namespace quorlex::gateway
