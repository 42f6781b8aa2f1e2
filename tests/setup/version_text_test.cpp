#include "setup/version_text.h"

#include <gtest/gtest.h>

#include "setup_fakes.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::FixedVersionSource;
using test_support::PrintTo;

struct VersionCase {
  const char* name;
  std::optional<FixedVersionBlock> block;
  bool read;
  std::u16string_view text;
};

class ReadVersionText : public testing::TestWithParam<VersionCase> {};

TEST_P(ReadVersionText, ShowsMajorMinorBuild) {
  FixedVersionSource source;
  source.block = GetParam().block;
  std::u16string text = u"stale";
  EXPECT_EQ(readVersionText(source, text), GetParam().read);
  EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadVersionText,
    testing::Values(VersionCase{"version1010", FixedVersionBlock{0xFEEF04BD, 0x00010000, 0x00010000}, true, u"1.0.1"},
                    VersionCase{"version2345", FixedVersionBlock{0xFEEF04BD, 0x00020003, 0x00040005}, true, u"2.3.4"},
                    VersionCase{"wideNumbers", FixedVersionBlock{0xFEEF04BD, 0xFFFF000A, 0x0100FFFF}, true, u"65535.10.256"},
                    VersionCase{"noResource", std::nullopt, false, u"1.0.0"},
                    VersionCase{"badSignature", FixedVersionBlock{0xFEEF04BC, 0x00020003, 0x00040005}, false, u"1.0.0"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
