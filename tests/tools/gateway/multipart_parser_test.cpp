#include "tools/gateway/multipart_parser.h"

#include <gtest/gtest.h>

#include "tests/support/form_posting.h"
#include "tests/support/table_rows.h"

namespace quorlex::gateway {
namespace {

using test_support::PrintTo;
using test_support::formClose;
using test_support::formDelimiter;
using test_support::formPart;

TEST(FormData, ReadsThePartsOfTheConnectorsBody) {
  std::string body = formPart("ExitProgramName", "PGM") + formPart("PARM1", "a\r\nb \"c\"") + formPart("PARM1", "") + formClose;
  std::string error;
  auto parts = parseFormData(body, test_support::formBoundary, error);
  ASSERT_TRUE(parts) << error;
  EXPECT_EQ(*parts, (std::vector<FormPart>{{"ExitProgramName", "PGM"}, {"PARM1", "a\r\nb \"c\""}, {"PARM1", ""}}));
}

struct BodyCase {
  const char* name;
  std::string body;
  std::string error;  // empty: valid
};

class FormDataBody : public ::testing::TestWithParam<BodyCase> {};

TEST_P(FormDataBody, AcceptsWhatAnEncoderWritesAndNothingElse) {
  std::string error;
  auto parts = parseFormData(GetParam().body, test_support::formBoundary, error);
  EXPECT_EQ(parts.has_value(), GetParam().error.empty());
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormDataBody,
    ::testing::Values(
        BodyCase{"no_parts", formClose, ""},
        BodyCase{"closing_line_break_and_epilogue", formPart("a", "1") + formDelimiter + "--\r\n\r\nignored", ""},
        BodyCase{"other_part_headers", formDelimiter + "\r\nContent-Type: text/plain\r\ncontent-disposition: FORM-DATA; name=a; filename=\"x\"\r\n\r\nv\r\n" + formClose, ""},
        BodyCase{"escaped_quote_in_name", formDelimiter + "\r\nContent-Disposition: form-data; name=\"a\\\"b\"\r\n\r\nv\r\n" + formClose, ""},
        BodyCase{"preamble", "hello\r\n" + formPart("a", "1") + formClose, "the body does not start with the boundary"},
        BodyCase{"empty", "", "the body does not start with the boundary"},
        BodyCase{"no_closing_boundary", formPart("a", "1"), "the body ends without its closing boundary"},
        BodyCase{"cut_in_headers", formDelimiter + "\r\nContent-Disposition: form-data; name=\"a\"", "the body ends inside a part's headers"},
        BodyCase{"garbage_after_close", formPart("a", "1") + formDelimiter + "--xyz", "something other than a line break follows the closing boundary"},
        BodyCase{"padding_after_delimiter", formDelimiter + "  \r\nContent-Disposition: form-data; name=a\r\n\r\nv\r\n" + formClose,
                 "something other than a line break follows a boundary"},
        BodyCase{"no_disposition", formDelimiter + "\r\nContent-Type: text/plain\r\n\r\nv\r\n" + formClose, "a part has no Content-Disposition header"},
        BodyCase{"two_dispositions", formDelimiter + "\r\nContent-Disposition: form-data; name=a\r\nContent-Disposition: form-data; name=b\r\n\r\nv\r\n" + formClose,
                 "a part has two Content-Disposition headers"},
        BodyCase{"not_form_data", formDelimiter + "\r\nContent-Disposition: attachment; name=a\r\n\r\nv\r\n" + formClose, "a part's Content-Disposition is not form-data"},
        BodyCase{"no_name", formDelimiter + "\r\nContent-Disposition: form-data; filename=x\r\n\r\nv\r\n" + formClose, "a part has no field name"},
        BodyCase{"name_twice", formDelimiter + "\r\nContent-Disposition: form-data; name=a; name=b\r\n\r\nv\r\n" + formClose, "a part names its field twice"},
        BodyCase{"unterminated_name", formDelimiter + "\r\nContent-Disposition: form-data; name=\"a\r\n\r\nv\r\n" + formClose,
                 "a part's Content-Disposition has malformed parameters"},
        BodyCase{"header_without_colon", formDelimiter + "\r\nContent-Disposition form-data\r\n\r\nv\r\n" + formClose, "a part has a malformed header line"},
        BodyCase{"blank_in_header_name", formDelimiter + "\r\nContent Disposition: form-data; name=a\r\n\r\nv\r\n" + formClose, "a part has a malformed header line"}),
    [](const auto& info) { return info.param.name; });

struct BoundaryCase {
  const char* name;
  std::string contentType;
  std::string boundary;  // empty: refused
};

class FormBoundary : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(FormBoundary, ComesFromTheContentType) {
  std::string error;
  auto found = formBoundary(GetParam().contentType, error);
  EXPECT_EQ(found.value_or(""), GetParam().boundary);
  EXPECT_EQ(error.empty(), found.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormBoundary,
    ::testing::Values(BoundaryCase{"connector", "multipart/form-data; boundary=" + test_support::formBoundary,
                                      test_support::formBoundary},
                      BoundaryCase{"quoted_and_cased", "Multipart/Form-Data;charset=utf-8; BOUNDARY=\"a b\"", "a b"},
                      BoundaryCase{"other_type", "application/x-www-form-urlencoded", ""},
                      BoundaryCase{"no_boundary", "multipart/form-data", ""},
                      BoundaryCase{"empty_boundary", "multipart/form-data; boundary=\"\"", ""},
                      BoundaryCase{"too_long", "multipart/form-data; boundary=" + std::string(71, 'a'), ""},
                      BoundaryCase{"bad_character", "multipart/form-data; boundary=\"a<b\"", ""},
                      BoundaryCase{"malformed_parameters", "multipart/form-data; boundary", ""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex::gateway
