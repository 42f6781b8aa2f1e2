#include "tools/host/request_faults.h"

#include <gtest/gtest.h>

#include "gateway/multipart_form.h"
#include "tests/support/fake_http_request.h"

namespace quorlex::host {
namespace {

std::u16string postWithFault(const std::string& faultText) {
  std::string error;
  std::optional<RequestFault> fault = parseRequestFault(faultText, error);
  EXPECT_TRUE(fault) << error;
  auto exchange = std::make_shared<test_support::FakeExchange>();
  MultipartForm form;
  std::unique_ptr<ReplyDocument> reply;
  std::u16string errorText;
  EXPECT_FALSE(form.post(u"http://gw/rpc/quorlex/", u"", u"", reply, errorText,
                         faultyRequests(test_support::fakeRequests(exchange), *fault)));
  return errorText;
}

TEST(RequestFaults, MakeThePostFailWhereTold) {
  EXPECT_EQ(postWithFault("create"), u"Failed to create XMLHttpRequest");
  EXPECT_EQ(postWithFault("open=0x800C0005"), u"http open failed: 0x800C0005, Unable to contact server");
  EXPECT_EQ(postWithFault("setRequestHeader#3"), u"Failed to setRequestHeader (Content-type)");
  EXPECT_EQ(postWithFault("setRequestHeader"), u"Failed to setRequestHeader");
  EXPECT_EQ(postWithFault("send=A0B0C0D0"), u"http request failed: 0xA0B0C0D0, Unknown error 0xA0B0C0D0");
  EXPECT_EQ(postWithFault("responseXML"), u"Failed to get_responseText");
}

TEST(RequestFaults, RefuseWhatNamesNoFault) {
  std::string error;
  EXPECT_FALSE(parseRequestFault("connect", error));
  EXPECT_EQ(error, "unknown operation \"connect\"");
  EXPECT_FALSE(parseRequestFault("send#0", error));
  EXPECT_FALSE(parseRequestFault("send=0xZZ", error));
  EXPECT_FALSE(parseRequestFault("send=", error));
}

}  // namespace
}  // namespace quorlex::host
