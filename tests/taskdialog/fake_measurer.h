#pragma once
// A deterministic text measurer. A font's handle carries its height h; each character is |h|/2
// pixels wide (a tab four characters) and each line |h| + 4 pixels tall. Word break wraps
// greedily at spaces within the width limit; "&" marks a mnemonic unless noPrefix is given.

#include <cstdint>
#include <string>
#include <vector>

#include "taskdialog/drawing.h"

namespace quorlex::test_support {

FontHandle fakeFont(int height);
int fakeFontHeight(FontHandle font);

inline constexpr int normalHeight = -12;  // 6 pixels a character, 16 a line
inline constexpr int largeHeight = -18;   // 9 pixels a character, 22 a line

int characterWidth(FontHandle font);
int lineHeight(FontHandle font);

TextSize measureFake(FontHandle font, std::u16string_view text, int widthLimit,
                     std::uint32_t format);

struct MeasureCall {
  FontHandle font;
  std::u16string text;
  int widthLimit;
  std::uint32_t format;
};

class FakeMeasurer : public ITextMeasurer {
 public:
  TextSize measure(FontHandle font, std::u16string_view text, int widthLimit,
                   std::uint32_t format) override {
    calls.push_back({font, std::u16string(text), widthLimit, format});
    return measureFake(font, text, widthLimit, format);
  }
  // The last call that measured this text.
  const MeasureCall* lastCallFor(std::u16string_view text) const;

  std::vector<MeasureCall> calls;
};

}  // namespace quorlex::test_support
