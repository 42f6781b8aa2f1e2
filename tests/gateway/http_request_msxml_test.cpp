// The Windows request (the platform's XML-HTTP object) against a scripted peer on 127.0.0.1:
// the bytes on the wire, the reply as post reads it, and the transport's failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "common/text.h"
#include "gateway/describe_result.h"
#include "gateway/http_request.h"
#include "gateway/multipart_form.h"
#include "gateway/transport_codes.h"
#include "tests/support/loopback_server.h"

namespace quorlex {
namespace {

using test_support::httpReply;
using test_support::LoopbackServer;

const std::string boundary = "---------------------------tarvRel";
const std::string okReply = httpReply(200, "OK", "<reply/>", "Content-Type: text/xml\r\n");

std::string part(const std::string& name, const std::string& value) {
  return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

struct Posted {
  bool result = false;
  std::u16string errorText;
};

class MsxmlHttpRequest : public ::testing::Test {
 protected:
  static Posted postTo(const std::string& url, MultipartForm& form, std::u16string_view user = u"",
                       std::u16string_view password = u"") {
    Posted posted;
    std::unique_ptr<ReplyDocument> reply;
    posted.result = form.post(fromUtf8(url), user, password, reply, posted.errorText);
    if (posted.result) {
      EXPECT_NE(reply, nullptr);
    }
    return posted;
  }
  static Posted postTo(const std::string& url) {
    MultipartForm form;
    (void)form.addField(u"ExitProgramName", u"PGM");
    return postTo(url, form);
  }
};

// Header lines of a request head, without the request line.
std::vector<std::string> headerLines(const std::string& head) {
  std::vector<std::string> lines;
  std::size_t start = head.find("\r\n") + 2;
  while (start < head.size()) {
    std::size_t end = head.find("\r\n", start);
    lines.push_back(head.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> valuesOf(const std::vector<std::string>& lines, std::string_view name) {
  std::vector<std::string> values;
  for (const std::string& line : lines) {
    std::size_t colon = line.find(':');
    if (colon != std::string::npos && equalsIgnoringCase(std::string_view(line).substr(0, colon), name)) {
      values.emplace_back(trimmedBlanks(std::string_view(line).substr(colon + 1)));
    }
  }
  return values;
}

// The whole byte stream of the connection, read off the socket after the client closed it:
// one head, one Content-Length of N - 4, and exactly those N - 4 bytes, nothing after them.
TEST_F(MsxmlHttpRequest, PutsExactlyTheDeclaredBytesOnTheWire) {
  LoopbackServer server({httpReply(200, "OK", "<reply/>", "Connection: close\r\n")});
  MultipartForm form;
  (void)form.addField(u"ExitProgramName", u"PGM");
  (void)form.addField(u"ExitProgramLib", u"LIB");
  (void)form.addField(u"Delimiter", u"|");
  (void)form.addField(u"PARM1", u"INV123");
  ASSERT_TRUE(postTo(server.url(), form).result);
  ASSERT_EQ(form.bodyLength(), 430u);

  std::optional<std::string> wire = server.connectionBytes(0);
  ASSERT_TRUE(wire.has_value()) << "the request object kept the connection open";
  std::size_t headEnd = wire->find("\r\n\r\n");
  ASSERT_NE(headEnd, std::string::npos);
  std::string head = wire->substr(0, headEnd + 2);
  EXPECT_TRUE(head.starts_with("POST /rpc/quorlex/ HTTP/1.1\r\n")) << head;
  std::vector<std::string> lines = headerLines(head);
  EXPECT_EQ(valuesOf(lines, "Content-Length"), std::vector<std::string>{"426"});
  EXPECT_EQ(valuesOf(lines, "If-Modified-Since"), std::vector<std::string>{"Sat, 1 Jan 2000 00:00:00 GMT"});
  EXPECT_EQ(valuesOf(lines, "charset"), std::vector<std::string>{"utf-8"});
  EXPECT_EQ(valuesOf(lines, "Content-type"), std::vector<std::string>{"multipart/form-data; boundary=" + boundary});
  EXPECT_EQ(valuesOf(lines, "Host"), std::vector<std::string>{"127.0.0.1:" + std::to_string(server.port())});
  EXPECT_EQ(wire->substr(headEnd + 4), part("ExitProgramName", "PGM") + part("ExitProgramLib", "LIB") +
                                           part("Delimiter", "|") + part("PARM1", "INV123") + "--" + boundary + "--");
  EXPECT_EQ(server.connectionsAccepted(), 1);
}

TEST_F(MsxmlHttpRequest, LargeBodyGoesOutWhole) {
  LoopbackServer server({httpReply(200, "OK", "", "Connection: close\r\n")});
  MultipartForm form;
  (void)form.addField(u"PARM1", std::u16string(2 << 20, u'x'));
  ASSERT_TRUE(postTo(server.url(), form).result);
  std::optional<std::string> wire = server.connectionBytes(0);
  ASSERT_TRUE(wire.has_value());
  std::size_t headEnd = wire->find("\r\n\r\n");
  EXPECT_EQ(wire->size() - headEnd - 4, form.bodyLength() - 4);
  EXPECT_EQ(valuesOf(headerLines(wire->substr(0, headEnd + 2)), "Expect"), std::vector<std::string>{});
}

TEST_F(MsxmlHttpRequest, OffersCredentialsWhenTheServerAsks) {
  LoopbackServer server({httpReply(401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"gateway\"\r\n"), okReply});
  MultipartForm form;
  (void)form.addField(u"ExitProgramName", u"PGM");
  ASSERT_TRUE(postTo(server.url(), form, u"user", u"secret").result);
  ASSERT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(server.requests()[0].find("Authorization"), std::string::npos);
  EXPECT_NE(server.requests()[1].find("\r\nAuthorization: Basic dXNlcjpzZWNyZXQ=\r\n"), std::string::npos);
}

struct ReplyCase {
  const char* name;
  std::string reply;
  std::u16string errorText;
};

class MsxmlReply : public MsxmlHttpRequest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(MsxmlReply, GivesThePostsFailureText) {
  LoopbackServer server({GetParam().reply});
  Posted posted = postTo(server.url());
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, GetParam().errorText);
  EXPECT_EQ(server.requests().size(), 1u);  // no retry
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MsxmlReply,
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
        ReplyCase{"hostile_description",
                  httpReply(500, "Internal Server Error",
                            "<!DOCTYPE r [<!ENTITY a 'aaaaaaaaaa'><!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;'>]>"
                            "<r id='statusDescription'>&b;&b;&b;</r>"),
                  u"HTTP Request returned 500 (Internal Server Error) "},
        ReplyCase{"closed_without_reply", "",
                  u"http request failed: 0x80072EFE, " + describeResult(transportCode::connectionAborted)}),
    [](const auto& info) { return info.param.name; });

TEST_F(MsxmlHttpRequest, TwoHundredWithAnyBodySucceeds) {
  LoopbackServer server({httpReply(200, "OK", "plain text, not XML")});
  EXPECT_TRUE(postTo(server.url()).result);
}

struct UnreachableCase {
  const char* name;
  std::string url;
};

class MsxmlUnreachable : public MsxmlHttpRequest, public ::testing::WithParamInterface<UnreachableCase> {};

TEST_P(MsxmlUnreachable, IsUnableToContactServer) {
  std::string url = GetParam().url;
  if (url.empty()) {
    int closedPort = 0;
    {
      LoopbackServer server;
      closedPort = server.port();
    }
    url = "http://127.0.0.1:" + std::to_string(closedPort) + "/rpc/quorlex/";
  }
  Posted posted = postTo(url);
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"http request failed: 0x800C0005, Unable to contact server");
}

INSTANTIATE_TEST_SUITE_P(Cases, MsxmlUnreachable,
                         ::testing::Values(UnreachableCase{"refused", ""},
                                           UnreachableCase{"unknown_host", "http://quorlex-gateway.invalid/rpc/quorlex/"}),
                         [](const auto& info) { return info.param.name; });

struct AddressCase {
  const char* name;
  std::string url;
  ResultCode code;
};

class MsxmlAddress : public MsxmlHttpRequest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(MsxmlAddress, OpenRefusesWhatItCannotRequest) {
  Posted posted = postTo(GetParam().url);
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.errorText, u"http open failed: " + formatCode(GetParam().code) + u", " + describeResult(GetParam().code));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MsxmlAddress,
    ::testing::Values(AddressCase{"ftp", "ftp://127.0.0.1/rpc/quorlex/", transportCode::unrecognizedScheme},
                      AddressCase{"file", "file:///C:/windows/win.ini", transportCode::unrecognizedScheme}),
    [](const auto& info) { return info.param.name; });

TEST_F(MsxmlHttpRequest, EmptyStoredAddressFailsToOpen) {
  Posted posted = postTo("/rpc/quorlex/");
  EXPECT_FALSE(posted.result);
  EXPECT_TRUE(posted.errorText.starts_with(u"http open failed: 0x")) << toUtf8(posted.errorText);
}

TEST_F(MsxmlHttpRequest, OnlySynchronousRequests) {
  std::unique_ptr<HttpRequest> request = createHttpRequest();
  ASSERT_NE(request, nullptr);
  EXPECT_EQ(request->open(u"POST", u"http://127.0.0.1:1/", true, u"", u""), resultNotImplemented);
}

}  // namespace
}  // namespace quorlex
