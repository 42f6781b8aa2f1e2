// quorlex-host against quorlex-gateway on 127.0.0.1, both as the programs they are: what
// reaches the journal, what reaches the host's log, and every failure text of the post.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/table_rows.h"
#include "tests/tools/end_to_end_fixture.h"

namespace quorlex::end_to_end {
namespace {

using test_support::PrintTo;

// A port on 127.0.0.1 that nothing listens on.
int closedPort() {
  int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

Json logError(int level, int line, const std::string& message) {
  return Json{{"event", "logError"}, {"err1", level}, {"err2", 0}, {"err3", 0}, {"message", message},
              {"codeModule", ".\\releaseScript"}, {"lineNumber", line}};
}
Json sendMessage(const std::string& message) {
  return Json{{"event", "sendMessage"}, {"message", message}, {"errorNumber", 1}, {"infoRet", 1}};
}
Json released(int document, int result) { return Json{{"event", "released"}, {"document", document}, {"result", result}}; }

TEST_F(EndToEnd, ReleasesTheBatchAndTheGatewayCallsTheExitProgramForEach) {
  startGateway();
  HostRun run = release(batch());
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  Json success = logError(0, 250, "Document Released Successfully");
  EXPECT_EQ(run.events, (std::vector<Json>{success, released(1, 0), success, released(2, 0), success, released(3, 0)}));

  std::vector<Json> calls = journal();
  ASSERT_EQ(calls.size(), 3u);
  for (const Json& call : calls) {
    EXPECT_EQ(call["program"], "INVPGM");
    EXPECT_EQ(call["library"], "QGPL");
    EXPECT_EQ(call["delimiter"], "|");
    EXPECT_FALSE(call.contains("strayBytesBefore"));
  }
  EXPECT_EQ(calls[0]["parameters"], Json::array({parameter("PARM1", "INV-1"), parameter("PARM2", ""),
                                                 parameter("PARM3", "AP"), parameter("PARM4", "B-001")}));
  EXPECT_EQ(calls[1]["parameters"], Json::array({parameter("PARM1", "INV-2"), parameter("PARM2", "A"),
                                                 parameter("PARM2", "B"), parameter("PARM3", "AP"),
                                                 parameter("PARM4", "B-001")}));
}

TEST_F(EndToEnd, ExampleDocumentPutsExactly426BodyBytesOnAKeptConnection) {
  startGateway();
  Json file = example();
  file["documents"].push_back(file["documents"][0]);
  HostRun run = release(file);
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  std::vector<Json> calls = journal();
  ASSERT_EQ(calls.size(), 2u);
  for (const Json& call : calls) {
    EXPECT_EQ(call["bodyBytes"], 426);
    EXPECT_EQ(call["parameters"], Json::array({parameter("PARM1", "INV123")}));
    // Nothing followed the closing delimiter of the first post on the connection.
    EXPECT_FALSE(call.contains("strayBytesBefore"));
  }
  EXPECT_EQ(calls[0]["client"], calls[1]["client"]);  // one kept-alive connection for both
}

TEST_F(EndToEnd, CredentialsAreOfferedWhenTheGatewayAsks) {
  startGateway({"--user", "clerk", "--password", "s3cret"});
  Json file = example();
  file["setup"]["userName"] = "clerk";
  file["setup"]["password"] = "s3cret";
  EXPECT_EQ(release(file).exitStatus, 0);
  EXPECT_EQ(journal().size(), 1u);
}

struct FailureCase {
  const char* name;
  std::vector<std::string> gatewayOptions;
  std::function<void(Json&, const std::string&)> change;  // the file and the gateway's address
  std::vector<std::string> environment;
  std::string message;
  std::size_t callsTaken = 0;  // what the gateway took before the connector gave up
};

class EndToEndFailure : public EndToEnd, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(EndToEndFailure, LogsThePostsFailureText) {
  const FailureCase& c = GetParam();
  startGateway(c.gatewayOptions);
  Json file = example();
  if (c.change) c.change(file, gatewayUrl);
  HostRun run = release(file, c.environment);
  EXPECT_EQ(run.exitStatus, 1) << run.err;
  EXPECT_EQ(run.events, (std::vector<Json>{logError(1, 238, c.message), sendMessage(c.message), released(1, -1)}));
  EXPECT_EQ(journal().size(), c.callsTaken);
}

void serverAddress(Json& file, const std::string& address) { file["setup"]["customProperties"]["serverURL"] = address; }

INSTANTIATE_TEST_SUITE_P(
    Cases, EndToEndFailure,
    ::testing::Values(
        FailureCase{"open_unknown_scheme", {}, [](Json& f, const std::string& url) { serverAddress(f, "ftp" + url.substr(4)); }, {},
                    "http open failed: 0x80072EE6, The URL does not use a recognized protocol"},
        FailureCase{"open_empty_address", {}, [](Json& f, const std::string&) { serverAddress(f, ""); }, {},
                    "http open failed: 0x80072EE5, The URL is invalid"},
        FailureCase{"no_request_object", {}, nullptr, {"QUORLEX_REQUEST_FAULT=create"}, "Failed to create XMLHttpRequest"},
        FailureCase{"header", {}, nullptr, {"QUORLEX_REQUEST_FAULT=setRequestHeader#1=0x80070057"}, "Failed to setRequestHeader"},
        FailureCase{"content_type_header", {}, nullptr, {"QUORLEX_REQUEST_FAULT=setRequestHeader#3=0x80070057"},
                    "Failed to setRequestHeader (Content-type)"},
        FailureCase{"content_length_header", {}, nullptr, {"QUORLEX_REQUEST_FAULT=setRequestHeader#4=0x80070057"},
                    "Failed to setRequestHeader"},
        FailureCase{"send_secure_channel", {}, [](Json& f, const std::string& url) { serverAddress(f, "https" + url.substr(4)); }, {},
                    "http request failed: 0x80072F7D, A secure connection to the server could not be established"},
        FailureCase{"unreachable", {}, [](Json& f, const std::string&) { serverAddress(f, "http://127.0.0.1:" + std::to_string(closedPort())); }, {},
                    "http request failed: 0x800C0005, Unable to contact server"},
        FailureCase{"no_reply_document", {}, nullptr, {"QUORLEX_REQUEST_FAULT=responseXML"}, "Failed to get_responseText", 1},
        FailureCase{"rejected_with_description", {"--fail", "500:Exit program INVPGM ended abnormally"}, nullptr, {},
                    "HTTP Request returned 500 (Internal Server Error) Exit program INVPGM ended abnormally"},
        FailureCase{"rejected_without_description", {"--fail", "503"}, nullptr, {}, "HTTP Request returned 503 (Service Unavailable) "},
        FailureCase{"address_with_trailing_slash", {}, [](Json& f, const std::string& url) { serverAddress(f, url + "/"); }, {},
                    "HTTP Request returned 404 (Not Found) There is no service at //rpc/quorlex/; post to /rpc/quorlex/"},
        FailureCase{"wrong_password", {"--user", "clerk", "--password", "s3cret"},
                    [](Json& f, const std::string&) {
                      f["setup"]["userName"] = "clerk";
                      f["setup"]["password"] = "guess";
                    },
                    {}, "HTTP Request returned 401 (Unauthorized) The user name or password is not accepted"},
        FailureCase{"body_too_large", {"--max-body", "100"}, nullptr, {},
                    "HTTP Request returned 413 (Payload Too Large) The body of 426 bytes is larger than the limit of 100 bytes"},
        FailureCase{"no_exit_program", {}, [](Json& f, const std::string&) { f["setup"]["customProperties"].erase("ExitProgramProgram"); }, {},
                    "HTTP Request returned 400 (Bad Request) The post names no exit program: ExitProgramName is empty"}),
    [](const auto& info) { return info.param.name; });

TEST_F(EndToEnd, HostileReplyReadsNothingExternalAndDoesNotBlowUp) {
  std::string secret = write("secret.txt", "TOPSECRET");
  std::string declarations = "<!ELEMENT r (#PCDATA)><!ATTLIST r id CDATA #IMPLIED>";
  std::string externalEntity = write("xxe.xml", "<!DOCTYPE r [" + declarations + "<!ENTITY x SYSTEM 'file://" + secret +
                                                    "'>]><r id='statusDescription'>leak:&x;</r>");
  startGateway({"--fail", "500", "--fail-body", externalEntity});
  HostRun run = release(example());
  ASSERT_EQ(run.events.size(), 3u);
  EXPECT_EQ(run.events[0]["message"], "HTTP Request returned 500 (Internal Server Error) leak:");

  startGateway({"--fail", "500", "--fail-body", batchPath("billion_laughs.xml")});
  run = release(example());
  ASSERT_EQ(run.events.size(), 3u);
  EXPECT_EQ(run.events[0]["message"], "HTTP Request returned 500 (Internal Server Error) ");
}

TEST_F(EndToEnd, TextOutputReadsAsALog) {
  startGateway({"--fail", "500:Rejected"});
  Json file = example();
  HostRun run = runHost({QUORLEX_HOST_PROGRAM, "release", write("host.json", file.dump())});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out,
            "log      error   .\\releaseScript:238  HTTP Request returned 500 (Internal Server Error) Rejected\n"
            "message  error 1  HTTP Request returned 500 (Internal Server Error) Rejected\n"
            "document 1: not released (KFX_REL_ERROR)\n");
}

struct BadStartCase {
  const char* name;
  std::function<std::vector<std::string>(EndToEnd&)> arguments;
  std::vector<std::string> environment;
  std::string message;  // how standard error begins
};

class EndToEndBadStart : public EndToEnd, public ::testing::WithParamInterface<BadStartCase> {};

TEST_P(EndToEndBadStart, ExitsWithTwoAndReleasesNothing) {
  startGateway();
  HostRun run = runHost(GetParam().arguments(*this), GetParam().environment);
  EXPECT_EQ(run.exitStatus, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with(GetParam().message)) << run.err;
  EXPECT_TRUE(journal().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EndToEndBadStart,
    ::testing::Values(
        BadStartCase{"no_command", [](EndToEnd&) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM}; }, {},
                     "quorlex-host: no command given"},
        BadStartCase{"unknown_command", [](EndToEnd&) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM, "publish"}; }, {},
                     "quorlex-host: unknown command \"publish\""},
        BadStartCase{"no_file", [](EndToEnd&) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM, "release", "--json"}; }, {},
                     "quorlex-host: release needs a host file"},
        BadStartCase{"unknown_option",
                     [](EndToEnd& t) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM, "release", t.write("h.json", t.example().dump()), "--xml"}; },
                     {}, "quorlex-host: unexpected argument \"--xml\""},
        BadStartCase{"missing_file",
                     [](EndToEnd& t) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM, "release", (t.folder / "none.json").string()}; }, {},
                     "quorlex-host: /"},
        BadStartCase{"bad_json",
                     [](EndToEnd& t) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM, "release", t.write("bad.json", "{\n  \"setup\": {,\n}")}; },
                     {}, "quorlex-host: /"},
        BadStartCase{"bad_fault",
                     [](EndToEnd& t) { return std::vector<std::string>{QUORLEX_HOST_PROGRAM, "release", t.write("h.json", t.example().dump())}; },
                     {"QUORLEX_REQUEST_FAULT=connect"}, "quorlex-host: QUORLEX_REQUEST_FAULT: unknown operation \"connect\""}),
    [](const auto& info) { return info.param.name; });

TEST_F(EndToEnd, UnreadableFilesAreNamedWithLineAndColumn) {
  std::string missing = (folder / "none.json").string();
  EXPECT_EQ(runHost({QUORLEX_HOST_PROGRAM, "release", missing}).err,
            "quorlex-host: " + missing + ": cannot read the file: No such file or directory\n");
  std::string bad = write("bad.json", "{\n  \"setup\": {,\n}");
  EXPECT_EQ(runHost({QUORLEX_HOST_PROGRAM, "release", bad}).err,
            "quorlex-host: " + bad + ": not valid JSON at line 2, column 13: syntax error while parsing object key - "
                                     "unexpected ','; expected string literal\n");
}

}  // namespace
}  // namespace quorlex::end_to_end
