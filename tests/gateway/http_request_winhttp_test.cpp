// What only the Windows request (on WinHTTP) does against a scripted peer
// on 127.0.0.1 or none: its connection failures, the addresses it refuses, a reply that
// declares a document type.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "gateway/describe_result.h"
#include "gateway/http_request.h"
#include "gateway/transport_codes.h"
#include "tests/support/form_posting.h"
#include "tests/support/loopback_server.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::LoopbackServer;
using test_support::Posted;
using test_support::PrintTo;
using test_support::httpReply;
using test_support::postOneField;

TEST(WinHttpRequest, UnknownHostIsUnableToContact) {
  Posted posted = postOneField("http://quorlex-gateway.invalid/rpc/quorlex/");
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"http request failed: 0x800C0005, Unable to contact server");
}

// The Linux reader would expand the entities; this one lets no document type in.
TEST(WinHttpRequest, DescriptionUnderADocumentTypeIsNotRead) {
  LoopbackServer server({httpReply(500, "Internal Server Error",
                                   "<!DOCTYPE r [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>]>"
                                   "<r id='statusDescription'>&b;&b;&b;</r>")});
  Posted posted = postOneField(server.url());
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"HTTP Request returned 500 (Internal Server Error) ");
}

struct AddressCase {
  const char* name;
  std::string url;
};

class WinHttpAddress : public ::testing::TestWithParam<AddressCase> {};

// Only HTTP and HTTPS addresses reach the request object.
TEST_P(WinHttpAddress, OpenRefusesAnotherScheme) {
  Posted posted = postOneField(GetParam().url);
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText,
            u"http open failed: 0x80072EE6, " + describeResult(transportCode::unrecognizedScheme));
}

INSTANTIATE_TEST_SUITE_P(Cases, WinHttpAddress,
                         ::testing::Values(AddressCase{"ftp", "ftp://127.0.0.1/rpc/quorlex/"},
                                           AddressCase{"file", "file:///C:/windows/win.ini"}),
                         [](const auto& info) { return info.param.name; });

TEST(WinHttpRequest, EmptyStoredAddressFailsToOpen) {
  Posted posted = postOneField("/rpc/quorlex/");
  EXPECT_FALSE(posted.result);
  EXPECT_TRUE(posted.errorText.starts_with(u"http open failed: 0x")) << toUtf8(posted.errorText);
}

TEST(WinHttpRequest, OnlySynchronousRequests) {
  std::unique_ptr<HttpRequest> request = createHttpRequest();
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->open(u"POST", u"http://127.0.0.1:1/", true, u"", u""), resultNotImplemented);
}

}  // namespace
}  // namespace quorlex
