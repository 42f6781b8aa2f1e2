// The emulated gateway's decisions, from the head and from the body, and its replies as the
// connector's own reply reader reads them.
#include "tools/gateway/gateway_service.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "gateway/reply_reader.h"
#include "tests/support/form_posting.h"
#include "tests/support/table_rows.h"

namespace quorlex::gateway {
namespace {

using test_support::PrintTo;
using test_support::formClose;
using test_support::formPart;

std::string formBody(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string body;
  for (const auto& [name, value] : fields) body += formPart(name, value);
  return body + formClose;
}

RequestHead postHead(std::size_t length, std::vector<std::pair<std::string, std::string>> extra = {}) {
  RequestHead head;
  head.method = "POST";
  head.target = "/rpc/quorlex/";
  head.headers = {{"Content-type", "multipart/form-data; boundary=" + test_support::formBoundary},
                  {"Content-Length", std::to_string(length)}};
  head.headers.insert(head.headers.end(), extra.begin(), extra.end());
  return head;
}

std::u16string descriptionOf(const Response& response) { return readStatusDescription(fromUtf8(response.body)); }

class Gateway : public ::testing::Test {
 protected:
  GatewayService service(GatewayOptions options = {}) {
    return GatewayService(std::move(options), [this](const ExitProgramCall& call) {
      calls.push_back(call);
      return journalWorks;
    });
  }

  std::vector<ExitProgramCall> calls;
  bool journalWorks = true;
};

TEST_F(Gateway, CallsTheExitProgramWithTheParametersInOrder) {
  std::string body = formBody({{"ExitProgramName", "INVPGM"}, {"ExitProgramLib", "QGPL"}, {"Delimiter", "|"},
                               {"PARM2", "b"}, {"PARM1", "a"}, {"PARM2", "c"}});
  RequestHead head = postHead(body.size());
  head.strayBytes = 4;
  GatewayService gateway = service();
  HeadVerdict verdict = gateway.judgeHead(head);
  ASSERT_FALSE(verdict.rejection);
  EXPECT_EQ(verdict.bodyLength, body.size());
  Response response = gateway.handleBody(head, body, "127.0.0.1:5000");
  EXPECT_EQ(response.status, 200);
  EXPECT_FALSE(response.close);
  EXPECT_EQ(descriptionOf(response), u"Exit program QGPL/INVPGM called with 3 parameters");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].client, "127.0.0.1:5000");
  EXPECT_EQ(calls[0].program, "INVPGM");
  EXPECT_EQ(calls[0].library, "QGPL");
  EXPECT_EQ(calls[0].delimiter, "|");
  EXPECT_EQ(calls[0].parameters, (std::vector<FormPart>{{"PARM2", "b"}, {"PARM1", "a"}, {"PARM2", "c"}}));
  EXPECT_EQ(calls[0].bodyBytes, body.size());
  EXPECT_EQ(calls[0].strayBytes, 4u);
}

struct HeadCase {
  const char* name;
  std::function<void(RequestHead&)> change;
  int status;
  bool closes;
  std::u16string description;
};

class GatewayHead : public Gateway, public ::testing::WithParamInterface<HeadCase> {};

TEST_P(GatewayHead, RejectsBeforeTheBody) {
  GatewayOptions options;
  options.credentials = Credentials{"clerk", "s3cret"};
  options.maxBodyBytes = 1000;
  RequestHead head = postHead(100, {{"Authorization", "Basic Y2xlcms6czNjcmV0"}});
  GetParam().change(head);
  HeadVerdict verdict = service(options).judgeHead(head);
  ASSERT_TRUE(verdict.rejection);
  EXPECT_EQ(verdict.rejection->status, GetParam().status);
  EXPECT_EQ(verdict.rejection->close, GetParam().closes);
  EXPECT_EQ(descriptionOf(*verdict.rejection), GetParam().description);
}

void replaceHeader(RequestHead& head, const std::string& name, const std::string& value) {
  for (auto& header : head.headers) {
    if (header.first == name) header.second = value;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GatewayHead,
    ::testing::Values(
        HeadCase{"other_path", [](RequestHead& h) { h.target = "//rpc/quorlex/"; }, 404, false,
                 u"There is no service at //rpc/quorlex/; post to /rpc/quorlex/"},
        HeadCase{"path_without_slash", [](RequestHead& h) { h.target = "/rpc/quorlex"; }, 404, false,
                 u"There is no service at /rpc/quorlex; post to /rpc/quorlex/"},
        HeadCase{"other_method", [](RequestHead& h) { h.method = "GET"; }, 405, false,
                 u"The method GET is not allowed; post to /rpc/quorlex/"},
        HeadCase{"no_credentials", [](RequestHead& h) { h.headers.pop_back(); }, 401, false,
                 u"The gateway needs a user name and password"},
        HeadCase{"wrong_password", [](RequestHead& h) { replaceHeader(h, "Authorization", "Basic Y2xlcms6d3Jvbmc="); },
                 401, false, u"The user name or password is not accepted"},
        HeadCase{"not_base64", [](RequestHead& h) { replaceHeader(h, "Authorization", "Basic ***"); }, 401, false,
                 u"The user name or password is not accepted"},
        HeadCase{"too_large", [](RequestHead& h) { replaceHeader(h, "Content-Length", "1001"); }, 413, true,
                 u"The body of 1001 bytes is larger than the limit of 1000 bytes"},
        HeadCase{"no_length", [](RequestHead& h) { h.headers.erase(h.headers.begin() + 1); }, 411, true,
                 u"The post must give a Content-Length"},
        HeadCase{"chunked", [](RequestHead& h) { h.headers.emplace_back("Transfer-Encoding", "chunked"); }, 411, true,
                 u"The body must come with a Content-Length, not a Transfer-Encoding"},
        HeadCase{"length_not_a_number", [](RequestHead& h) { replaceHeader(h, "Content-Length", "-1"); }, 400, true,
                 u"The Content-Length is not valid"},
        HeadCase{"lengths_disagree", [](RequestHead& h) { h.headers.emplace_back("Content-Length", "99"); }, 400, true,
                 u"The Content-Length is not valid"},
        HeadCase{"waits_for_continue", [](RequestHead& h) { h.method = "PUT"; h.headers.emplace_back("Expect", "100-continue"); },
                 405, true, u"The method PUT is not allowed; post to /rpc/quorlex/"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Gateway, ForcedFailureRejectsEveryPostAsTold) {
  GatewayOptions options;
  options.failure = ForcedFailure{500, "Exit program ended abnormally", std::nullopt};
  HeadVerdict verdict = service(options).judgeHead(postHead(10));
  ASSERT_TRUE(verdict.rejection);
  EXPECT_EQ(verdict.rejection->status, 500);
  EXPECT_FALSE(verdict.rejection->close);  // the body is read and dropped first
  EXPECT_EQ(descriptionOf(*verdict.rejection), u"Exit program ended abnormally");

  options.failure = ForcedFailure{503, std::nullopt, std::nullopt};
  verdict = service(options).judgeHead(postHead(10));
  EXPECT_EQ(verdict.rejection->body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gatewayReply status=\"503\"/>\n");

  options.failure = ForcedFailure{500, std::nullopt, std::string("<html>raw</html>")};
  verdict = service(options).judgeHead(postHead(10));
  EXPECT_EQ(verdict.rejection->body, "<html>raw</html>");
  EXPECT_TRUE(calls.empty());
}

struct BodyCase {
  const char* name;
  std::string contentType;
  std::string body;
  int status;
  std::u16string description;
};

class GatewayBody : public Gateway, public ::testing::WithParamInterface<BodyCase> {};

TEST_P(GatewayBody, RejectsWhatItCannotCallTheExitProgramWith) {
  RequestHead head = postHead(GetParam().body.size());
  head.headers[0].second = GetParam().contentType;
  Response response = service().handleBody(head, GetParam().body, "client");
  EXPECT_EQ(response.status, GetParam().status);
  EXPECT_EQ(descriptionOf(response), GetParam().description);
  EXPECT_TRUE(calls.empty());
}

const std::string connectorType = "multipart/form-data; boundary=" + test_support::formBoundary;

INSTANTIATE_TEST_SUITE_P(
    Cases, GatewayBody,
    ::testing::Values(
        BodyCase{"not_multipart", "text/plain", "x", 400, u"Malformed request: the body is not multipart/form-data"},
        BodyCase{"malformed_body", connectorType, formPart("ExitProgramName", "PGM"), 400,
                 u"Malformed multipart body: the body ends without its closing boundary"},
        BodyCase{"no_program", connectorType, formBody({{"PARM1", "a"}}), 400,
                 u"The post names no exit program: ExitProgramName is missing"},
        BodyCase{"empty_program", connectorType, formBody({{"ExitProgramName", ""}, {"ExitProgramLib", "L"}}), 400,
                 u"The post names no exit program: ExitProgramName is empty"},
        BodyCase{"program_twice", connectorType, formBody({{"ExitProgramName", "A"}, {"ExitProgramName", "B"}}), 400,
                 u"ExitProgramName, ExitProgramLib or Delimiter is given more than once"}),
    [](const auto& info) { return info.param.name; });

TEST_F(Gateway, JournalThatCannotBeWrittenFailsTheCall) {
  journalWorks = false;
  std::string body = formBody({{"ExitProgramName", "PGM"}});
  Response response = service().handleBody(postHead(body.size()), body, "client");
  EXPECT_EQ(response.status, 500);
  EXPECT_EQ(descriptionOf(response), u"The exit program could not be called: the journal cannot be written");
}

TEST(GatewayReply, EscapesWhatTheClientSent) {
  std::string document = replyDocument(404, std::string("There is no service at /a<b>&\"c\"\x02\xC3"));
  EXPECT_EQ(readStatusDescription(fromUtf8(document)), u"There is no service at /a<b>&\"c\"?\uFFFD");
}

}  // namespace
}  // namespace quorlex::gateway
