#include "setup/page_template.h"

namespace quorlex {
namespace {

// The two stored forms: the extended one starts with version 1 and 0xFFFF, then the help
// id, extended style and style; the plain one starts with the style, then the extended style.
struct StyleOffsets {
  std::size_t style = 0;
  std::size_t extendedStyle = 0;
  std::size_t afterHeader = 0;  // the menu field, after the item count and the rectangle
};

std::uint16_t wordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t dwordAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return wordAt(bytes, offset) | (static_cast<std::uint32_t>(wordAt(bytes, offset + 2)) << 16);
}

void putDword(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<StyleOffsets> offsetsOf(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t plainHeader = 18;     // style, extended style, count, x, y, cx, cy
  constexpr std::size_t extendedHeader = 26;  // version, signature, help id, then as above
  if (bytes.size() >= 4 && wordAt(bytes, 0) == 1 && wordAt(bytes, 2) == 0xFFFF) {
    if (bytes.size() < extendedHeader) return std::nullopt;
    return StyleOffsets{12, 8, extendedHeader};
  }
  if (bytes.size() < plainHeader) return std::nullopt;
  return StyleOffsets{0, 4, plainHeader};
}

// Past a menu or class field: none (0), an ordinal (0xFFFF, id) or a string; none when the
// field runs past the end.
std::optional<std::size_t> skipNameOrOrdinal(std::span<const std::uint8_t> bytes, std::size_t offset) {
  if (offset + 2 > bytes.size()) return std::nullopt;
  std::uint16_t first = wordAt(bytes, offset);
  if (first == 0) return offset + 2;
  if (first == 0xFFFF) return offset + 4 <= bytes.size() ? std::optional<std::size_t>(offset + 4) : std::nullopt;
  for (; offset + 2 <= bytes.size(); offset += 2) {
    if (wordAt(bytes, offset) == 0) return offset + 2;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> childPageTemplate(std::span<const std::uint8_t> stored) {
  std::optional<StyleOffsets> at = offsetsOf(stored);
  if (!at) return std::nullopt;
  using namespace windowStyle;
  std::uint32_t style = dwordAt(stored, at->style);
  style &= ~(popup | visible | disabled | caption | systemMenu | thickFrame | modalFrame);
  style |= child | dialogControl;
  std::vector<std::uint8_t> page(stored.begin(), stored.end());
  putDword(page, at->style, style);
  putDword(page, at->extendedStyle, dwordAt(stored, at->extendedStyle) | controlParent);
  return page;
}

std::optional<std::u16string> dialogTemplateTitle(std::span<const std::uint8_t> stored) {
  std::optional<StyleOffsets> at = offsetsOf(stored);
  if (!at) return std::nullopt;
  std::optional<std::size_t> offset = skipNameOrOrdinal(stored, at->afterHeader);  // menu
  if (offset) offset = skipNameOrOrdinal(stored, *offset);                         // window class
  if (!offset) return std::nullopt;
  std::u16string title;
  for (std::size_t i = *offset; i + 2 <= stored.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(wordAt(stored, i));
    if (unit == 0) return title;
    title += unit;
  }
  return std::nullopt;
}

}  // namespace quorlex
