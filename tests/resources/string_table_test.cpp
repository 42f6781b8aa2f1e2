#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

TEST(StringTable, HoldsTheSheetCaptionButtonsAndQuestionInIdOrder) {
  std::vector<std::uint32_t> ids;
  for (const ComponentString& entry : componentStrings()) ids.push_back(entry.id);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{11003, 11005, 11006, 11007, 11008, 11009, 11010, 11011, 11012, 11013, 11014}));
  EXPECT_EQ(loadMessage(11003), u"Tressaly Export Connector for AS400 Setup");
  EXPECT_EQ(loadMessage(11009), u"Cancel");
  EXPECT_EQ(loadMessage(11013),
            u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with '%1'.");
}

TEST(StringTable, MissingIdGivesThreeQuestionMarks) {
  EXPECT_EQ(loadMessage(11004), u"???");
  EXPECT_EQ(loadMessage(0), u"???");
  EXPECT_EQ(formatMessage(11060, {u"x"}), u"???");
  EXPECT_FALSE(findComponentString(11015).has_value());
}

TEST(FormatMessage, PutsTheNameIntoTheMapLink) {
  EXPECT_EQ(formatMessage(11013, {u"Parameter 3"}),
            u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Parameter 3'.");
  EXPECT_EQ(formatMessage(11012), loadMessage(11012));
}

struct FormatCase {
  const char* name;
  std::u16string_view text;
  std::u16string_view expected;
};

class FormatMessageText : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatMessageText, ReplacesInsertSequences) {
  const std::array<std::u16string_view, 2> inserts{u"50%1 %2 %%", u"B"};
  EXPECT_EQ(formatMessageText(GetParam().text, inserts), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatMessageText,
    testing::Values(FormatCase{"insertTakenLiterally", u"<%1>", u"<50%1 %2 %%>"},
                    FormatCase{"secondInsert", u"%2-%1", u"B-50%1 %2 %%"},
                    FormatCase{"twoDigitsReadAsOneNumber", u"%12", u"%12"},
                    FormatCase{"digitAfterTwoIsText", u"%011", u"50%1 %2 %%1"},
                    FormatCase{"missingInsertStays", u"%3 and %0", u"%3 and %0"},
                    FormatCase{"doublePercent", u"100%%", u"100%"},
                    FormatCase{"lonePercentStays", u"a % b %", u"a % b %"},
                    FormatCase{"lineFeedsStay", u"one\ntwo %2", u"one\ntwo B"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
