#include "gateway/describe_result.h"

#include <gtest/gtest.h>

#include "gateway/transport_codes.h"

namespace quorlex {
namespace {

TEST(DescribeResult, UnreachableServerHasItsOwnText) {
  EXPECT_EQ(describeResult(static_cast<ResultCode>(0x800C0005)), u"Unable to contact server");
}

TEST(DescribeResult, CodeWithoutMessageIsUnknownError) {
  EXPECT_EQ(describeResult(static_cast<ResultCode>(0xA0B0C0D0)), u"Unknown error 0xA0B0C0D0");
}

#ifdef _WIN32
TEST(DescribeResult, SystemMessageIsTrimmed) {
  std::u16string text = describeResult(static_cast<ResultCode>(0x80070005));  // access denied
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.rfind(u"Unknown error", 0), 0u);
  EXPECT_NE(text.back(), u'\n');
  EXPECT_NE(text.back(), u'\r');
  EXPECT_NE(text.back(), u' ');
}
#endif

// On Linux from the transport's own table; on Windows from winhttp.dll's, or (under Wine,
// whose WinHTTP has none) the same table.
TEST(DescribeResult, TransportCodesHaveTexts) {
  EXPECT_EQ(describeResult(transportCode::invalidUrl), u"The URL is invalid");
  EXPECT_EQ(describeResult(transportCode::connectionAborted), u"The connection with the server was terminated abnormally");
  EXPECT_EQ(describeResult(transportCode::secureChannelError),
            u"A secure connection to the server could not be established");
}

}  // namespace
}  // namespace quorlex
