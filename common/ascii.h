#pragma once
// ASCII text as protocols write it: case-insensitive names, HTTP tokens, blanks.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorlex {

constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

// tchar of HTTP: the characters of method names, header names and parameter names.
constexpr bool isTokenCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

constexpr bool isToken(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!isTokenCharacter(c)) return false;
  }
  return true;
}

// Without spaces and tabs at either end.
constexpr std::string_view trimmedBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// Decimal digits only, as in a Content-Length; none for anything else or past 18 digits.
constexpr std::optional<std::uint64_t> decimalNumber(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

}  // namespace quorlex
