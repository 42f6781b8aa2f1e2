#include "tools/gateway/multipart_parser.h"

#include <gtest/gtest.h>

namespace quorlex::gateway {
namespace {

const std::string boundary = "---------------------------tarvRel";
const std::string delimiter = "--" + boundary;

std::string part(const std::string& name, const std::string& value) {
  return delimiter + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

TEST(FormData, ReadsThePartsOfTheConnectorsBody) {
  std::string body = part("ExitProgramName", "PGM") + part("PARM1", "a\r\nb \"c\"") + part("PARM1", "") + delimiter + "--";
  std::string error;
  auto parts = parseFormData(body, boundary, error);
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
  auto parts = parseFormData(GetParam().body, boundary, error);
  EXPECT_EQ(parts.has_value(), GetParam().error.empty());
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormDataBody,
    ::testing::Values(
        BodyCase{"no_parts", delimiter + "--", ""},
        BodyCase{"closing_line_break_and_epilogue", part("a", "1") + delimiter + "--\r\n\r\nignored", ""},
        BodyCase{"other_part_headers", delimiter + "\r\nContent-Type: text/plain\r\ncontent-disposition: FORM-DATA; name=a; filename=\"x\"\r\n\r\nv\r\n" + delimiter + "--", ""},
        BodyCase{"escaped_quote_in_name", delimiter + "\r\nContent-Disposition: form-data; name=\"a\\\"b\"\r\n\r\nv\r\n" + delimiter + "--", ""},
        BodyCase{"preamble", "hello\r\n" + part("a", "1") + delimiter + "--", "the body does not start with the boundary"},
        BodyCase{"empty", "", "the body does not start with the boundary"},
        BodyCase{"no_closing_boundary", part("a", "1"), "the body ends without its closing boundary"},
        BodyCase{"cut_in_headers", delimiter + "\r\nContent-Disposition: form-data; name=\"a\"", "the body ends inside a part's headers"},
        BodyCase{"garbage_after_close", part("a", "1") + delimiter + "--xyz", "something other than a line break follows the closing boundary"},
        BodyCase{"padding_after_delimiter", delimiter + "  \r\nContent-Disposition: form-data; name=a\r\n\r\nv\r\n" + delimiter + "--",
                 "something other than a line break follows a boundary"},
        BodyCase{"no_disposition", delimiter + "\r\nContent-Type: text/plain\r\n\r\nv\r\n" + delimiter + "--", "a part has no Content-Disposition header"},
        BodyCase{"two_dispositions", delimiter + "\r\nContent-Disposition: form-data; name=a\r\nContent-Disposition: form-data; name=b\r\n\r\nv\r\n" + delimiter + "--",
                 "a part has two Content-Disposition headers"},
        BodyCase{"not_form_data", delimiter + "\r\nContent-Disposition: attachment; name=a\r\n\r\nv\r\n" + delimiter + "--", "a part's Content-Disposition is not form-data"},
        BodyCase{"no_name", delimiter + "\r\nContent-Disposition: form-data; filename=x\r\n\r\nv\r\n" + delimiter + "--", "a part has no field name"},
        BodyCase{"name_twice", delimiter + "\r\nContent-Disposition: form-data; name=a; name=b\r\n\r\nv\r\n" + delimiter + "--", "a part names its field twice"},
        BodyCase{"unterminated_name", delimiter + "\r\nContent-Disposition: form-data; name=\"a\r\n\r\nv\r\n" + delimiter + "--",
                 "a part's Content-Disposition has malformed parameters"},
        BodyCase{"header_without_colon", delimiter + "\r\nContent-Disposition form-data\r\n\r\nv\r\n" + delimiter + "--", "a part has a malformed header line"},
        BodyCase{"blank_in_header_name", delimiter + "\r\nContent Disposition: form-data; name=a\r\n\r\nv\r\n" + delimiter + "--", "a part has a malformed header line"}),
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
    ::testing::Values(BoundaryCase{"connector", "multipart/form-data; boundary=" + boundary, boundary},
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
