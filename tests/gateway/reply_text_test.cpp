#include "gateway/reply_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

struct DecodeCase {
  const char* name;
  std::string body;
  std::string contentType;
  std::u16string text;
};

class DecodeReplyText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeReplyText, DecodesAsTheReplySays) {
  const DecodeCase& c = GetParam();
  std::vector<std::uint8_t> bytes(c.body.begin(), c.body.end());
  EXPECT_EQ(decodeReplyText(bytes, c.contentType), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeReplyText,
    ::testing::Values(DecodeCase{"utf8_by_default", "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC", "text/xml", u"Grüße €"},
                      DecodeCase{"utf8_bom_dropped", "\xEF\xBB\xBFok", "", u"ok"},
                      DecodeCase{"utf16_little_endian_bom", std::string("\xFF\xFEo\0k\0", 6), "", u"ok"},
                      DecodeCase{"utf16_big_endian_bom", std::string("\xFE\xFF\0o\0k", 6), "", u"ok"},
                      DecodeCase{"latin1_charset", "Gr\xFC\xDF", "text/html; charset=ISO-8859-1", u"Grüß"},
                      DecodeCase{"quoted_charset", "\xFC", "text/html;charset=\"iso-8859-1\"", u"ü"},
                      DecodeCase{"bom_beats_charset", "\xEF\xBB\xBF\xC3\xBC", "text/xml; charset=iso-8859-1", u"ü"},
                      DecodeCase{"malformed_utf8_replaced", "a\xFFz", "", u"a\uFFFDz"},
                      DecodeCase{"empty", "", "text/xml", u""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
