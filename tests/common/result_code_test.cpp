#include "common/result_code.h"

#include <gtest/gtest.h>

namespace quorlex {
namespace {

TEST(ResultCode, PlatformErrorGetsTheWin32Facility) {
  EXPECT_EQ(fromPlatformError(2), static_cast<ResultCode>(0x80070002));
  EXPECT_EQ(fromPlatformError(0x2EFD), static_cast<ResultCode>(0x80072EFD));
}

TEST(ResultCode, FormatsAsEightUpperCaseDigits) {
  EXPECT_EQ(formatCode(static_cast<ResultCode>(0x800C0005)), u"0x800C0005");
  EXPECT_EQ(formatCode(0), u"0x00000000");
  EXPECT_EQ(formatCode(0x1f), u"0x0000001F");
  EXPECT_EQ(formatCode(-1), u"0xFFFFFFFF");
}

TEST(ResultCode, HostCountsOnlyExactlyZeroAsSuccess) {
  EXPECT_TRUE(hostSucceeded(0));
  EXPECT_FALSE(hostSucceeded(1));  // S_FALSE is a failure to the host
  EXPECT_FALSE(hostSucceeded(resultFail));
}

}  // namespace
}  // namespace quorlex
