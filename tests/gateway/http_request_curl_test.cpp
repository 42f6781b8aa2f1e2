// What only the Linux request does against a scripted peer on 127.0.0.1: its head byte for
// byte, its kept connection, and its own failure codes.
#include <gtest/gtest.h>

#include <string>

#include "gateway/http_request.h"
#include "tests/support/form_posting.h"
#include "tests/support/loopback_server.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::LoopbackServer;
using test_support::Posted;
using test_support::PrintTo;
using test_support::addExampleFields;
using test_support::exampleBody;
using test_support::formBoundary;
using test_support::httpReply;
using test_support::postForm;
using test_support::postOneField;

const std::string okReply = httpReply(200, "OK", "<reply/>", "Content-Type: text/xml\r\n");

TEST(CurlHttpRequest, PutsTheRequestOnTheWireByteForByte) {
  LoopbackServer server({okReply});
  MultipartForm form;
  addExampleFields(form);
  ASSERT_TRUE(postForm(server.url(), form).result);

  std::string expectedBody = exampleBody();
  ASSERT_EQ(expectedBody.size(), 426u);
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0],
            "POST /rpc/quorlex/ HTTP/1.1\r\n"
            "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"
            "Accept: */*\r\n"
            "If-Modified-Since: Sat, 1 Jan 2000 00:00:00 GMT\r\n"
            "charset: utf-8\r\n"
            "Content-type: multipart/form-data; boundary=" + formBoundary + "\r\n"
            "Content-Length: 426\r\n"
            "\r\n" + expectedBody);
}

TEST(CurlHttpRequest, NothingFollowsTheClosingDelimiterOnAKeptConnection) {
  LoopbackServer server({okReply, okReply});
  ASSERT_TRUE(postOneField(server.url()).result);
  ASSERT_TRUE(postOneField(server.url()).result);
  EXPECT_EQ(server.connectionsAccepted(), 1);  // the second post reused the connection
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_TRUE(server.requests()[0].ends_with(test_support::formClose));
  EXPECT_TRUE(server.requests()[1].starts_with("POST /rpc/quorlex/ HTTP/1.1\r\n"));
}

TEST(CurlHttpRequest, RedirectIsNotFollowed) {
  LoopbackServer server({httpReply(302, "Found", "", "Location: http://127.0.0.1:1/elsewhere\r\n")});
  Posted posted = postOneField(server.url());
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"HTTP Request returned 302 (Found) ");
}

TEST(CurlHttpRequest, PeerThatSpeaksNoHttpGivesAnInvalidResponse) {
  LoopbackServer server({"SSH-2.0-OpenSSH\r\n\r\n"});
  EXPECT_EQ(postOneField(server.url()).errorText,
            u"http request failed: 0x80072F78, The server returned an invalid or unrecognized response");
}

TEST(CurlHttpRequest, HttpsToAPlainServerFailsInTheSecureChannel) {
  LoopbackServer server({okReply});
  Posted posted = postOneField("https://127.0.0.1:" + std::to_string(server.port()) + "/rpc/quorlex/");
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"http request failed: 0x80072F7D, A secure connection to the server could not be established");
}

struct AddressCase {
  const char* name;
  std::string url;
  std::u16string errorText;
};

class CurlAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(CurlAddress, OpenRefusesWhatItCannotRequest) {
  Posted posted = postOneField(GetParam().url);
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, GetParam().errorText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurlAddress,
    ::testing::Values(AddressCase{"empty_stored_address", "/rpc/quorlex/", u"http open failed: 0x80072EE5, The URL is invalid"},
                      AddressCase{"ftp", "ftp://127.0.0.1/rpc/quorlex/",
                                  u"http open failed: 0x80072EE6, The URL does not use a recognized protocol"},
                      AddressCase{"space_in_host", "http://gate way/rpc/quorlex/",
                                  u"http open failed: 0x80072EE5, The URL is invalid"}),
    [](const auto& info) { return info.param.name; });

TEST(CurlHttpRequest, OperationsOutOfOrderOrMalformedAreRefused) {
  std::unique_ptr<HttpRequest> request = createHttpRequest();
  ASSERT_NE(request, nullptr);
  std::int32_t status = 0;
  EXPECT_EQ(request->setRequestHeader(u"charset", u"utf-8"), resultUnexpected);
  EXPECT_EQ(request->send({}), resultUnexpected);
  EXPECT_EQ(request->status(status), resultUnexpected);
  EXPECT_EQ(request->open(u"POST", u"http://127.0.0.1:1/", true, u"", u""), resultNotImplemented);

  ASSERT_EQ(request->open(u"POST", u"http://127.0.0.1:1/", false, u"", u""), resultOk);
  EXPECT_EQ(request->setRequestHeader(u"X-Note", u"one\r\nInjected: yes"), resultInvalidArgument);
  EXPECT_EQ(request->setRequestHeader(u"Bad Name", u"x"), resultInvalidArgument);
  EXPECT_EQ(request->setRequestHeader(u"Content-Length", u"12a"), resultInvalidArgument);
  ASSERT_EQ(request->setRequestHeader(u"Content-Length", u"5"), resultOk);
  const std::uint8_t body[4] = {1, 2, 3, 4};
  EXPECT_EQ(request->send(body), resultInvalidArgument);  // four bytes against a declared five
}

}  // namespace
}  // namespace quorlex
