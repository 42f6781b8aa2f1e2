// The platform's request (libcurl on Linux, WinHTTP on Windows) against a scripted peer on
// 127.0.0.1: what both put on the wire and make of the replies. What only one of them does is
// in its own tests.
#include "gateway/http_request.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "common/text.h"
#include "gateway/describe_result.h"
#include "gateway/transport_codes.h"
#include "tests/support/form_posting.h"
#include "tests/support/loopback_server.h"
#include "tests/support/redirect_cases.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::LoopbackServer;
using test_support::Posted;
using test_support::PrintTo;
using test_support::formBoundary;
using test_support::httpReply;
using test_support::postForm;
using test_support::postOneField;

// A connection closed before any reply: libcurl tells it apart; WinHTTP calls it an invalid
// reply, as it does a reply that is not HTTP.
#ifdef _WIN32
constexpr ResultCode closedWithoutReply = transportCode::invalidServerResponse;
#else
constexpr ResultCode closedWithoutReply = transportCode::connectionAborted;
#endif

const std::string okReply = httpReply(200, "OK", "<reply/>", "Content-Type: text/xml\r\n");

// The values of one header in a request's head, in order.
std::vector<std::string> headerValues(const std::string& request, std::string_view name) {
  std::string_view head = std::string_view(request).substr(0, request.find("\r\n\r\n"));
  std::vector<std::string> values;
  std::size_t start = head.find("\r\n");
  while (start != std::string_view::npos) {
    start += 2;
    std::size_t end = head.find("\r\n", start);
    std::string_view line = head.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && equalsIgnoringCase(line.substr(0, colon), name)) {
      values.emplace_back(trimmedBlanks(line.substr(colon + 1)));
    }
    start = end;
  }
  return values;
}

using Values = std::vector<std::string>;

// The whole byte stream of the connection, read off the socket once it is closed: one head,
// one Content-Length of N - 4, exactly those N - 4 bytes, and nothing after them.
TEST(HttpRequest, PutsExactlyTheDeclaredBytesOnTheWire) {
  LoopbackServer server({httpReply(200, "OK", "<reply/>", "Connection: close\r\n")});
  MultipartForm form;
  test_support::addExampleFields(form);
  ASSERT_TRUE(postForm(server.url(), form).result);
  ASSERT_EQ(form.bodyLength(), 430u);

  std::optional<std::string> wire = server.connectionBytes(0);
  ASSERT_TRUE(wire.has_value()) << "the request object kept the connection open";
  std::size_t headEnd = wire->find("\r\n\r\n");
  ASSERT_NE(headEnd, std::string::npos);
  std::string head = wire->substr(0, headEnd);
  EXPECT_TRUE(head.starts_with("POST /rpc/quorlex/ HTTP/1.1\r\n")) << head;
  EXPECT_EQ(headerValues(head, "Content-Length"), Values{"426"});
  EXPECT_EQ(headerValues(head, "If-Modified-Since"), Values{"Sat, 1 Jan 2000 00:00:00 GMT"});
  EXPECT_EQ(headerValues(head, "charset"), Values{"utf-8"});
  EXPECT_EQ(headerValues(head, "Content-type"), Values{"multipart/form-data; boundary=" + formBoundary});
  EXPECT_EQ(headerValues(head, "Host"), Values{"127.0.0.1:" + std::to_string(server.port())});
  EXPECT_EQ(wire->substr(headEnd + 4), test_support::exampleBody());
  EXPECT_EQ(server.connectionsAccepted(), 1);
}

TEST(HttpRequest, LargeBodyGoesOutWholeWithoutExpectContinue) {
  LoopbackServer server({okReply});
  MultipartForm form;
  (void)form.addField(u"PARM1", std::u16string(2 << 20, u'x'));
  ASSERT_TRUE(postForm(server.url(), form).result);
  ASSERT_EQ(server.requests().size(), 1u);
  std::string head = server.requests()[0].substr(0, server.requests()[0].find("\r\n\r\n"));
  EXPECT_EQ(headerValues(head, "Expect"), Values{});
  EXPECT_EQ(server.requests()[0].size(), head.size() + 4 + form.bodyLength() - 4);
}

TEST(HttpRequest, OffersCredentialsWhenTheServerAsks) {
  LoopbackServer server({httpReply(401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"gateway\"\r\n"), okReply});
  MultipartForm form;
  (void)form.addField(u"ExitProgramName", u"PGM");
  Posted posted = postForm(server.url(), form, u"user", u"pässword");
  ASSERT_TRUE(posted.result) << toUtf8(posted.errorText);
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(headerValues(server.requests()[0], "Authorization"), Values{});
  EXPECT_EQ(headerValues(server.requests()[1], "Authorization"), Values{"Basic dXNlcjpww6Rzc3dvcmQ="});
}

TEST(HttpRequest, NoCredentialsMeansTheRefusalStands) {
  LoopbackServer server({httpReply(401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"gateway\"\r\n")});
  Posted posted = postOneField(server.url());
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"HTTP Request returned 401 (Unauthorized) ");
  EXPECT_EQ(server.requests().size(), 1u);
}

struct ReplyCase {
  const char* name;
  std::string reply;
  std::u16string errorText;
};

class HttpReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(HttpReply, GivesThePostsFailureText) {
  LoopbackServer server({GetParam().reply});
  Posted posted = postOneField(server.url());
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, GetParam().errorText);
  EXPECT_EQ(server.requests().size(), 1u);  // no retry
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpReply,
    ::testing::Values(
        ReplyCase{"server_error_with_description",
                  httpReply(500, "Internal Server Error",
                            "<?xml version=\"1.0\"?><reply><text id=\"statusDescription\">Rejected</text></reply>",
                            "Content-Type: text/xml\r\n"),
                  u"HTTP Request returned 500 (Internal Server Error) Rejected"},
        ReplyCase{"reason_phrase_of_the_gateway",
                  httpReply(500, "Exit Program Failed", "<r id='statusDescription'>CPF9898 in QGPL/INVPGM</r>"),
                  u"HTTP Request returned 500 (Exit Program Failed) CPF9898 in QGPL/INVPGM"},
        ReplyCase{"latin1_description",
                  httpReply(400, "Bad Request", "<r id='statusDescription'>Ung\xFCltig</r>",
                            "Content-Type: text/xml; charset=iso-8859-1\r\n"),
                  u"HTTP Request returned 400 (Bad Request) Ungültig"},
        ReplyCase{"utf8_description", httpReply(409, "Conflict", "<r id='statusDescription'>\xE2\x82\xAC 12</r>"),
                  u"HTTP Request returned 409 (Conflict) € 12"},
        ReplyCase{"not_found_html", httpReply(404, "Not Found", "<html><body>Not Found<br></body></html>"),
                  u"HTTP Request returned 404 (Not Found) "},
        ReplyCase{"no_content", "HTTP/1.1 204 No Content\r\n\r\n", u"HTTP Request returned 204 (No Content) "},
        ReplyCase{"closed_without_reply", "",
                  u"http request failed: " + formatCode(closedWithoutReply) + u", " + describeResult(closedWithoutReply)}),
    [](const auto& info) { return info.param.name; });

class HttpRedirect : public ::testing::TestWithParam<test_support::RedirectCase> {};

// The POST alone reaches the server; the page the redirect names is never asked for.
TEST_P(HttpRedirect, IsNotFollowedAndItsStatusIsTheFailure) {
  LoopbackServer server(test_support::redirectReplies(GetParam()));
  Posted posted = postOneField(server.url());
  EXPECT_FALSE(posted.result);
  EXPECT_FALSE(posted.replyDocument);
  EXPECT_EQ(toUtf8(posted.errorText), test_support::redirectFailureText(GetParam()));
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_TRUE(server.requests()[0].starts_with("POST /rpc/quorlex/ HTTP/1.1\r\n")) << server.requests()[0];
}

INSTANTIATE_TEST_SUITE_P(Cases, HttpRedirect, ::testing::ValuesIn(test_support::redirectCases()),
                         [](const auto& info) { return info.param.name; });

TEST(HttpRequest, TwoHundredWithAnyBodySucceeds) {
  LoopbackServer server({httpReply(200, "OK", "plain text, not XML")});
  Posted posted = postOneField(server.url());
  EXPECT_TRUE(posted.result);
  EXPECT_TRUE(posted.replyDocument);
}

TEST(HttpRequest, UnreachableServerIsUnableToContact) {
  int closedPort = 0;
  {
    LoopbackServer server;
    closedPort = server.port();
  }
  Posted posted = postOneField("http://127.0.0.1:" + std::to_string(closedPort) + "/rpc/quorlex/");
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"http request failed: 0x800C0005, Unable to contact server");
}

}  // namespace
}  // namespace quorlex
