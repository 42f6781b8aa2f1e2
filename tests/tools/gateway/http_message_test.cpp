#include "tools/gateway/http_message.h"

#include <gtest/gtest.h>

#include "tests/support/table_rows.h"

namespace quorlex::gateway {
namespace {

using test_support::PrintTo;

TEST(RequestHead, ReadsRequestLineAndHeaders) {
  std::string input =
      "POST /rpc/quorlex/?x=1 HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-type:  multipart/form-data; boundary=b \r\n"
      "charset: utf-8\r\n\r\nBODY";
  RequestHead head;
  std::size_t length = 0;
  ASSERT_EQ(parseRequestHead(input, head, length), HeadStatus::Complete);
  EXPECT_EQ(input.substr(length), "BODY");
  EXPECT_EQ(head.method, "POST");
  EXPECT_EQ(head.path(), "/rpc/quorlex/");
  EXPECT_EQ(head.minorVersion, 1);
  EXPECT_EQ(head.header("content-TYPE"), "multipart/form-data; boundary=b");
  EXPECT_EQ(head.header("Missing"), std::nullopt);
  EXPECT_EQ(head.strayBytes, 0u);
  EXPECT_TRUE(head.keepAlive());
}

TEST(RequestHead, SkipsAndCountsEmptyLinesBeforeTheRequestLine) {
  std::string input = "\r\n\r\nGET / HTTP/1.0\r\n\r\n";
  RequestHead head;
  std::size_t length = 0;
  ASSERT_EQ(parseRequestHead(input, head, length), HeadStatus::Complete);
  EXPECT_EQ(head.strayBytes, 4u);
  EXPECT_EQ(length, input.size());
  EXPECT_FALSE(head.keepAlive());  // HTTP/1.0 without keep-alive
}

struct HeadCase {
  const char* name;
  std::string input;
  HeadStatus status;
};

class RequestHeadStatus : public ::testing::TestWithParam<HeadCase> {};

TEST_P(RequestHeadStatus, TellsCompleteFromMalformed) {
  RequestHead head;
  std::size_t length = 0;
  EXPECT_EQ(parseRequestHead(GetParam().input, head, length), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequestHeadStatus,
    ::testing::Values(HeadCase{"nothing_yet", "", HeadStatus::Incomplete},
                      HeadCase{"only_stray_lines", "\r\n\r\n", HeadStatus::Incomplete},
                      HeadCase{"head_arriving", "POST /rpc/quorlex/ HTTP/1.1\r\nHost: x\r\n", HeadStatus::Incomplete},
                      HeadCase{"bare_line_feed", "POST / HTTP/1.1\nHost: x\n\n", HeadStatus::Malformed},
                      HeadCase{"space_before_colon", "POST / HTTP/1.1\r\nHost : x\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"folded_header", "POST / HTTP/1.1\r\nX: a\r\n b\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"no_colon", "POST / HTTP/1.1\r\nHost\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"http_2", "POST / HTTP/2.0\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"no_version", "POST /\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"two_spaces", "POST  / HTTP/1.1\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"control_in_target", "POST /a\x01 HTTP/1.1\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"control_in_value", "POST / HTTP/1.1\r\nX: a\x7F\r\n\r\n", HeadStatus::Malformed},
                      HeadCase{"binary", std::string("\x16\x03\x01\x02\x00\r\n\r\n", 9), HeadStatus::Malformed},
                      HeadCase{"huge_head", "POST / HTTP/1.1\r\nX: " + std::string(20000, 'a'), HeadStatus::TooLarge},
                      HeadCase{"endless_empty_lines", [] { std::string lines; for (int i = 0; i < 10000; ++i) lines += "\r\n"; return lines; }(), HeadStatus::TooLarge}),
    [](const auto& info) { return info.param.name; });

TEST(Response, IsWrittenWithLengthTypeAndConnection) {
  Response response;
  response.status = 401;
  response.headers.emplace_back("WWW-Authenticate", "Basic realm=\"g\"");
  response.body = "<r/>";
  EXPECT_EQ(serializeResponse(response),
            "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"g\"\r\nContent-Type: text/xml; charset=utf-8\r\n"
            "Content-Length: 4\r\n\r\n<r/>");
  response.close = true;
  EXPECT_NE(serializeResponse(response).find("\r\nConnection: close\r\n"), std::string::npos);
  EXPECT_EQ(reasonPhrase(413), "Payload Too Large");
  EXPECT_EQ(reasonPhrase(599), "Unknown");
}

}  // namespace
}  // namespace quorlex::gateway
