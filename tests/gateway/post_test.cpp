#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "common/text.h"
#include "gateway/multipart_form.h"
#include "tests/support/fake_http_request.h"
#include "tests/support/form_posting.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::FakeExchange;
using test_support::PrintTo;
using test_support::fakeRequests;

struct Posted {
  bool result = false;
  std::unique_ptr<ReplyDocument> reply;
  std::u16string errorText;
};

class Post : public ::testing::Test {
 protected:
  Posted post(std::u16string_view user = u"user", std::u16string_view password = u"secret") {
    Posted posted;
    posted.result = form.post(u"http://gateway/rpc/quorlex/", user, password, posted.reply, posted.errorText,
                              fakeRequests(exchange));
    return posted;
  }

  std::shared_ptr<FakeExchange> exchange = std::make_shared<FakeExchange>();
  MultipartForm form;
};

TEST_F(Post, SendsTheClosedBodyWithTheFourHeadersInOrder) {
  (void)form.addField(u"ExitProgramName", u"PGM");
  Posted posted = post();
  ASSERT_TRUE(posted.result);
  EXPECT_NE(posted.reply, nullptr);
  EXPECT_EQ(posted.errorText, u"");

  EXPECT_EQ(exchange->method, u"POST");
  EXPECT_EQ(exchange->url, u"http://gateway/rpc/quorlex/");
  EXPECT_FALSE(exchange->asynchronous);
  EXPECT_EQ(exchange->user, u"user");
  EXPECT_EQ(exchange->password, u"secret");
  using Header = std::pair<std::u16string, std::u16string>;
  EXPECT_EQ(exchange->headers, (std::vector<Header>{
                                   {u"If-Modified-Since", u"Sat, 1 Jan 2000 00:00:00 GMT"},
                                   {u"charset", u"utf-8"},
                                   {u"Content-type", u"multipart/form-data; boundary=---------------------------tarvRel"},
                                   {u"Content-Length", u"139"},
                               }));
  // 143 bytes with the terminator; the declared 139 end right after the closing "--".
  EXPECT_EQ(exchange->body, test_support::formPart("ExitProgramName", "PGM") + test_support::formClose);
  EXPECT_EQ(form.bodyLength(), 143u);
}

TEST_F(Post, ClosesTheBodyAfterTheFirstThreeHeadersAndBeforeContentLength) {
  (void)form.addField(u"ExitProgramName", u"PGM");
  std::vector<std::size_t> bodySizes;
  exchange->onSetRequestHeader = [&] { bodySizes.push_back(form.bodyBytes().size()); };
  ASSERT_TRUE(post().result);
  EXPECT_EQ(bodySizes, (std::vector<std::size_t>{101, 101, 101, 143}));
}

TEST_F(Post, EmptyCredentialsAreStillHandedToOpen) {
  ASSERT_TRUE(post(u"", u"").result);
  EXPECT_EQ(exchange->user, u"");
  EXPECT_EQ(exchange->password, u"");
  EXPECT_EQ(exchange->headers.back().second, u"38");  // the terminator alone: 42 bytes
}

// The terminator that does not fit whole: nothing is sent.
TEST(PostOfAFullBody, FailsBeforeSending) {
  auto exchange = std::make_shared<FakeExchange>();
  MultipartForm form(101 + 41);  // one part of 101 bytes and all but the last byte of the terminator
  ASSERT_TRUE(form.addField(u"ExitProgramName", u"PGM"));
  std::unique_ptr<ReplyDocument> reply;
  std::u16string errorText;
  EXPECT_FALSE(form.post(u"http://gateway/rpc/quorlex/", u"", u"", reply, errorText, fakeRequests(exchange)));
  EXPECT_TRUE(errorText.starts_with(u"http request failed: 0x8007000E, ")) << toUtf8(errorText);
  EXPECT_EQ(std::count(exchange->calls.begin(), exchange->calls.end(), "send"), 0);
}

TEST_F(Post, StatusTwoHundredSucceedsWhateverTheReplyHolds) {
  exchange->responseText = u"<html><p>not xml";
  EXPECT_TRUE(post().result);
}

struct FailureCase {
  const char* name;
  std::function<void(FakeExchange&)> arrange;
  std::u16string errorText;
  std::vector<std::string> lastCalls;  // the exchange ends with these operations
};

class PostFailure : public Post, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PostFailure, EndsWithFalseAndOneLineOfText) {
  const FailureCase& c = GetParam();
  c.arrange(*exchange);
  Posted posted = post();
  EXPECT_FALSE(posted.result);
  EXPECT_EQ(posted.reply, nullptr);
  EXPECT_EQ(posted.errorText, c.errorText);
  ASSERT_GE(exchange->calls.size(), c.lastCalls.size());
  EXPECT_EQ(std::vector<std::string>(exchange->calls.end() - static_cast<std::ptrdiff_t>(c.lastCalls.size()),
                                     exchange->calls.end()),
            c.lastCalls);
}

void failing(FakeExchange& exchange, const std::string& operation, std::uint32_t code) {
  exchange.failures[operation] = static_cast<ResultCode>(code);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PostFailure,
    ::testing::Values(
        FailureCase{"no_request_object", [](FakeExchange& e) { e.createFails = true; },
                    u"Failed to create XMLHttpRequest", {}},
        FailureCase{"open_unreachable", [](FakeExchange& e) { failing(e, "open", 0x800C0005); },
                    u"http open failed: 0x800C0005, Unable to contact server", {"open"}},
        FailureCase{"open_code_without_text", [](FakeExchange& e) { failing(e, "open", 0xA0B0C0D0); },
                    u"http open failed: 0xA0B0C0D0, Unknown error 0xA0B0C0D0", {"open"}},
        FailureCase{"first_header", [](FakeExchange& e) { failing(e, "setRequestHeader:1", 0x80070057); },
                    u"Failed to setRequestHeader", {"setRequestHeader:1"}},
        FailureCase{"charset_header", [](FakeExchange& e) { failing(e, "setRequestHeader:2", 0x80070057); },
                    u"Failed to setRequestHeader", {"setRequestHeader:2"}},
        FailureCase{"content_type_header", [](FakeExchange& e) { failing(e, "setRequestHeader:3", 0x80070057); },
                    u"Failed to setRequestHeader (Content-type)", {"setRequestHeader:3"}},
        FailureCase{"content_length_header", [](FakeExchange& e) { failing(e, "setRequestHeader:4", 0x80070057); },
                    u"Failed to setRequestHeader", {"setRequestHeader:4"}},
        FailureCase{"send_unreachable", [](FakeExchange& e) { failing(e, "send", 0x800C0005); },
                    u"http request failed: 0x800C0005, Unable to contact server", {"send"}},
        FailureCase{"send_code_without_text", [](FakeExchange& e) { failing(e, "send", 0xA0B0C0D1); },
                    u"http request failed: 0xA0B0C0D1, Unknown error 0xA0B0C0D1", {"send"}},
        FailureCase{"status_unreadable", [](FakeExchange& e) { failing(e, "status", 0x80004005); },
                    u"Failed to get status", {"status"}},
        FailureCase{"no_reply_document", [](FakeExchange& e) { failing(e, "responseXML", 0x80004005); },
                    u"Failed to get_responseText", {"status", "responseXML"}},
        FailureCase{"server_error_without_description",
                    [](FakeExchange& e) {
                      e.status = 500;
                      e.statusText = u"Internal Server Error";
                      e.responseText = u"<html><body>Error<br></body></html>";
                    },
                    u"HTTP Request returned 500 (Internal Server Error) ", {"statusText", "responseText", "status"}},
        FailureCase{"created_is_not_ok",
                    [](FakeExchange& e) {
                      e.status = 201;
                      e.statusText = u"Created";
                    },
                    u"HTTP Request returned 201 (Created) ", {}},
        FailureCase{"no_content_is_not_ok",
                    [](FakeExchange& e) {
                      e.status = 204;
                      e.statusText = u"No Content";
                    },
                    u"HTTP Request returned 204 (No Content) ", {}},
        FailureCase{"unreadable_status_text_and_reply_are_empty",
                    [](FakeExchange& e) {
                      e.status = 404;
                      failing(e, "statusText", 0x80004005);
                      failing(e, "responseText", 0x80004005);
                    },
                    u"HTTP Request returned 404 () ", {}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
