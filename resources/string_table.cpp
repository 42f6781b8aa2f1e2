#include "resources/string_table.h"

#include <algorithm>
#include <array>

namespace quorlex {
namespace {

#define QUORLEX_STRING(id, text) ComponentString{id, u##text},
constexpr std::array strings{
#include "resources/string_table.inc"
};
#undef QUORLEX_STRING

constexpr std::u16string_view missingMessage = u"???";
constexpr std::size_t maxInsertNumber = 99;

bool isDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

}  // namespace

std::span<const ComponentString> componentStrings() { return strings; }

std::optional<std::u16string_view> findComponentString(std::uint32_t id) {
  auto found = std::find_if(strings.begin(), strings.end(), [id](const ComponentString& entry) { return entry.id == id; });
  if (found == strings.end()) return std::nullopt;
  return found->text;
}

std::u16string loadMessage(std::uint32_t id) { return std::u16string(findComponentString(id).value_or(missingMessage)); }

std::u16string formatMessageText(std::u16string_view text, std::span<const std::u16string_view> inserts) {
  std::u16string result;
  result.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    char16_t unit = text[at];
    if (unit != u'%' || at + 1 == text.size()) {
      result += unit;
      ++at;
      continue;
    }
    if (text[at + 1] == u'%') {
      result += u'%';
      at += 2;
      continue;
    }
    // Up to two digits name the insert, as the platform's message formatting reads them.
    std::size_t end = at + 1;
    std::size_t number = 0;
    while (end < text.size() && end < at + 3 && isDigit(text[end])) number = number * 10 + (text[end++] - u'0');
    if (end == at + 1 || number == 0 || number > maxInsertNumber || number > inserts.size()) {
      result += unit;
      ++at;
      continue;
    }
    result += inserts[number - 1];
    at = end;
  }
  return result;
}

std::u16string formatMessage(std::uint32_t id, std::initializer_list<std::u16string_view> inserts) {
  std::optional<std::u16string_view> text = findComponentString(id);
  if (!text) return std::u16string(missingMessage);
  return formatMessageText(*text, std::span<const std::u16string_view>(inserts.begin(), inserts.size()));
}

}  // namespace quorlex
