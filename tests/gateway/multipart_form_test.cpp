#include "gateway/multipart_form.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/form_posting.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;
using test_support::formBody;
using test_support::formClose;
using test_support::formPart;

TEST(MultipartForm, BoundaryIsFixed) {
  MultipartForm form;
  EXPECT_EQ(form.boundary(), u"---------------------------tarvRel");
  EXPECT_EQ(form.boundary().size(), 34u);
}

TEST(MultipartForm, EmptyFormIsTheTerminatorAlone) {
  MultipartForm form;
  EXPECT_TRUE(form.writeTerminator());
  EXPECT_EQ(formBody(form), formClose + "\r\n\r\n");
  EXPECT_EQ(form.bodyLength(), 42u);
}

TEST(MultipartForm, ExitProgramNamePartIsByteExact) {
  MultipartForm form;
  ASSERT_TRUE(form.addField(u"ExitProgramName", u"PGM"));
  EXPECT_EQ(form.bodyLength(), 101u);
  ASSERT_TRUE(form.writeTerminator());
  EXPECT_EQ(form.bodyLength(), 143u);
  EXPECT_EQ(formBody(form),
            "-----------------------------tarvRel\r\n"
            "Content-Disposition: form-data; name=\"ExitProgramName\"\r\n"
            "\r\n"
            "PGM\r\n"
            "-----------------------------tarvRel--\r\n"
            "\r\n");
}

struct PartCase {
  const char* name;
  std::u16string fieldName;
  std::u16string value;
  std::string expectedValueBytes;
  std::size_t expectedSize;
};

class MultipartPart : public testing::TestWithParam<PartCase> {};

TEST_P(MultipartPart, CopiesNameAndValueUnchangedAsUtf8) {
  const PartCase& c = GetParam();
  MultipartForm form;
  ASSERT_TRUE(form.addField(c.fieldName, c.value));
  EXPECT_EQ(formBody(form), formPart(std::string(c.fieldName.begin(), c.fieldName.end()), c.expectedValueBytes));
  EXPECT_EQ(form.bodyLength(), c.expectedSize);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MultipartPart,
    testing::Values(PartCase{"empty_value", u"Delimiter", u"", "", 92},
                    PartCase{"umlaut_two_bytes", u"PARM1", u"\u00FC", "\xC3\xBC", 83 + 5 + 2},
                    PartCase{"euro_three_bytes", u"PARM1", u"\u20AC", "\xE2\x82\xAC", 83 + 5 + 3},
                    PartCase{"surrogate_pair_whole", u"PARM1", u"\U0001F600", "\xF0\x9F\x98\x80", 83 + 5 + 4},
                    PartCase{"crlf_and_quotes", u"PARM2", u"a\r\n\"b\"", "a\r\n\"b\"", 83 + 5 + 6},
                    PartCase{"boundary_in_value", u"PARM3", u"--" + std::u16string(MultipartForm::fixedBoundary) + u"--",
                             formClose, 83 + 5 + 38}),
    [](const auto& info) { return info.param.name; });

TEST(MultipartForm, PartsKeepTheOrderAdded) {
  MultipartForm form;
  (void)form.addField(u"PARM3", u"c");
  (void)form.addField(u"PARM1", u"a");
  EXPECT_EQ(formBody(form), formPart("PARM3", "c") + formPart("PARM1", "a"));
}

TEST(MultipartForm, BodyLengthMovesThePositionToTheEnd) {
  MultipartForm form;
  (void)form.addField(u"ExitProgramName", u"PGM");
  form.rewind();
  EXPECT_EQ(form.bodyLength(), 101u);
  ASSERT_TRUE(form.writeTerminator());  // appended, not written over the first formPart
  EXPECT_EQ(formBody(form), formPart("ExitProgramName", "PGM") + formClose + "\r\n\r\n");
}

TEST(MultipartForm, ShortAppendReportsFalseAndKeepsWhatWentIn) {
  MultipartForm form(100);
  EXPECT_FALSE(form.addField(u"ExitProgramName", u"PGM"));  // needs 101
  EXPECT_EQ(form.bodyLength(), 100u);
  EXPECT_FALSE(form.writeTerminator());
  EXPECT_EQ(form.bodyLength(), 100u);
}

// What fits of a text that is not ASCII: whole characters, then the first bytes of the next.
TEST(MultipartForm, ShortAppendOfWideCharactersKeepsTheBytesThatFit) {
  MultipartForm form(4);
  EXPECT_FALSE(form.writeUtf8(u"é€"));
  EXPECT_EQ(formBody(form), "\xC3\xA9\xE2\x82");
}

}  // namespace
}  // namespace quorlex
