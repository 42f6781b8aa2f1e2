#include "tests/taskdialog/fake_measurer.h"

#include <algorithm>
#include <cstdlib>

namespace quorlex::test_support {
namespace {

// The characters that take room: mnemonic markers removed, tabs widened.
int visibleUnits(std::u16string_view line, std::uint32_t format) {
  int units = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (c == u'&' && (format & textFormat::noPrefix) == 0) {
      if (i + 1 < line.size() && line[i + 1] == u'&') ++i, ++units;
      continue;
    }
    units += (c == u'\t' && (format & textFormat::expandTabs) != 0) ? 4 : 1;
  }
  return units;
}

std::vector<std::u16string_view> split(std::u16string_view text, char16_t at) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(at, start);
    parts.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (end == std::u16string_view::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

FontHandle fakeFont(int height) {
  return reinterpret_cast<FontHandle>(static_cast<std::uintptr_t>(0x100000 + (height & 0xFFFF)));
}

int fakeFontHeight(FontHandle font) {
  return static_cast<std::int16_t>(reinterpret_cast<std::uintptr_t>(font) & 0xFFFF);
}

int characterWidth(FontHandle font) { return std::abs(fakeFontHeight(font)) / 2; }
int lineHeight(FontHandle font) { return std::abs(fakeFontHeight(font)) + 4; }

TextSize measureFake(FontHandle font, std::u16string_view text, int widthLimit,
                     std::uint32_t format) {
  const int cw = characterWidth(font);
  const int lh = lineHeight(font);
  if ((format & textFormat::singleLine) != 0) return {visibleUnits(text, format) * cw, lh};
  int width = 0;
  int lines = 0;
  for (std::u16string_view paragraph : split(text, u'\n')) {
    if ((format & textFormat::wordBreak) == 0) {
      width = std::max(width, visibleUnits(paragraph, format) * cw);
      ++lines;
      continue;
    }
    int lineWidth = -1;  // no word on the line yet
    for (std::u16string_view word : split(paragraph, u' ')) {
      const int wordWidth = visibleUnits(word, format) * cw;
      if (lineWidth >= 0 && lineWidth + cw + wordWidth <= widthLimit) {
        lineWidth += cw + wordWidth;
        continue;
      }
      if (lineWidth >= 0) width = std::max(width, lineWidth);
      lineWidth = wordWidth;
      ++lines;
    }
    width = std::max(width, lineWidth);
  }
  return {width, lines * lh};
}

const MeasureCall* FakeMeasurer::lastCallFor(std::u16string_view text) const {
  for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
    if (it->text == text) return &*it;
  }
  return nullptr;
}

}  // namespace quorlex::test_support
