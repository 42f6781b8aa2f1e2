#include "common/text.h"

#include <gtest/gtest.h>

#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

struct Utf8Case {
  const char* name;
  std::u16string utf16;
  std::string utf8;
};

class ToUtf8 : public testing::TestWithParam<Utf8Case> {};

TEST_P(ToUtf8, ConvertsUnitsToBytes) {
  EXPECT_EQ(toUtf8(GetParam().utf16), GetParam().utf8);
  EXPECT_EQ(utf8Length(GetParam().utf16), GetParam().utf8.size());
}

// Long texts go through sixteen units at a time: non-ASCII units at every offset of a block.
TEST(ToUtf8, LongTextsMatchUnitByUnitConversion) {
  for (std::size_t offset = 0; offset < 40; ++offset) {
    std::u16string text(offset, u'a');
    std::string expected(offset, 'a');
    text += u"\u00FC" + std::u16string(17, u'b') + u"\U0001F600" + std::u16string(3, u'c') + char16_t(0xD800);
    expected += "\xC3\xBC" + std::string(17, 'b') + "\xF0\x9F\x98\x80" + std::string(3, 'c') + "\xEF\xBF\xBD";
    text += std::u16string(offset, u'd');
    expected += std::string(offset, 'd');
    EXPECT_EQ(toUtf8(text), expected) << "offset " << offset;
    EXPECT_EQ(utf8Length(text), expected.size()) << "offset " << offset;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ToUtf8,
                         testing::Values(Utf8Case{"empty", u"", ""}, Utf8Case{"ascii", u"PGM", "PGM"},
                                         Utf8Case{"umlaut", u"\u00FC", "\xC3\xBC"},
                                         Utf8Case{"euro", u"\u20AC", "\xE2\x82\xAC"},
                                         Utf8Case{"pair", u"\U0001F600", "\xF0\x9F\x98\x80"},
                                         Utf8Case{"lone_high", std::u16string{u'a', 0xD83D, u'b'}, "a\xEF\xBF\xBD" "b"},
                                         Utf8Case{"lone_low_at_end", std::u16string{u'a', 0xDE00}, "a\xEF\xBF\xBD"},
                                         Utf8Case{"swapped_pair", std::u16string{0xDE00, 0xD83D},
                                                  "\xEF\xBF\xBD\xEF\xBF\xBD"},
                                         Utf8Case{"nul_kept", std::u16string(1, u'\0'), std::string(1, '\0')}),
                         [](const auto& info) { return info.param.name; });

struct FromUtf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

class FromUtf8 : public testing::TestWithParam<FromUtf8Case> {};

TEST_P(FromUtf8, ConvertsBytesToUnits) {
  EXPECT_EQ(fromUtf8(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(Cases, FromUtf8,
                         testing::Values(FromUtf8Case{"ascii", "INV123", u"INV123"},
                                         FromUtf8Case{"euro", "\xE2\x82\xAC", u"\u20AC"},
                                         FromUtf8Case{"pair", "\xF0\x9F\x98\x80", u"\U0001F600"},
                                         FromUtf8Case{"truncated", "a\xE2\x82", u"a\uFFFD"},
                                         FromUtf8Case{"overlong", "\xC0\xAF", u"\uFFFD"},
                                         FromUtf8Case{"encoded_surrogate", "\xED\xA0\x80", u"\uFFFD"},
                                         FromUtf8Case{"past_unicode", "\xF4\x90\x80\x80", u"\uFFFD"},
                                         FromUtf8Case{"stray_continuation", "\x80z", u"\uFFFDz"}),
                         [](const auto& info) { return info.param.name; });

TEST(Utf8RoundTrip, KeepsEveryValidText) {
  std::u16string text = u"Gr\u00FC\u00DFe \u20AC \U0001F600 \"quoted\"\r\n";
  EXPECT_EQ(fromUtf8(toUtf8(text)), text);
}

TEST(TruncateUtf16, CutsWithoutSplittingAPair) {
  std::u16string text = u"ab\U0001F600c";  // a b high low c
  EXPECT_EQ(truncateUtf16(text, 10), text);
  EXPECT_EQ(truncateUtf16(text, 4), u"ab\U0001F600");
  EXPECT_EQ(truncateUtf16(text, 3), u"ab");
  EXPECT_EQ(truncateUtf16(text, 2), u"ab");
  EXPECT_EQ(truncateUtf16(text, 0), u"");
}

TEST(DecimalText, WritesSignedNumbers) {
  EXPECT_EQ(decimalText(0), u"0");
  EXPECT_EQ(decimalText(426), u"426");
  EXPECT_EQ(decimalText(-3), u"-3");
}

}  // namespace
}  // namespace quorlex
