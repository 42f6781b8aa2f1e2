// ReleaseDoc over the in-memory host and a recording request object: the request it builds,
// byte for byte, and every row of its failure table; and with the platform's own request
// against a peer on 127.0.0.1 that redirects.
#include <gtest/gtest.h>

#include <string>

#include "common/text.h"

#include "release/host_log.h"
#include "release/release_script.h"
#include "testhost/memory_host.h"
#include "tests/support/fake_http_request.h"
#include "tests/support/form_posting.h"
#include "tests/support/host_events.h"
#include "tests/support/loopback_server.h"
#include "tests/support/redirect_cases.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::FakeExchange;
using test_support::PrintTo;
using test_support::fakeRequests;
using test_support::formClose;
using test_support::formPart;
using test_support::loggedEvent;
using test_support::sentEvent;

class DocumentRelease : public ::testing::Test {
 protected:
  void SetUp() override {
    host.record().userName = u"clerk";
    host.record().password = u"s3cret";
    host.record().customProperties = {{u"serverURL", u"http://gateway:8080"},
                                      {u"ExitProgramProgram", u"PGM"},
                                      {u"ExitProgramLibrary", u"LIB"},
                                      {u"ExitProgramDelimiter", u"|"}};
    host.setDocumentValues({MemoryValue{u"PARM1", u"INV123", u"", {}}});
    script.setDocumentData(host.releaseData());
  }
  void TearDown() override { clearLoggingTarget(); }

  KfxReturnValue release() {
    KfxReturnValue result = KFX_REL_SUCCESS;
    script.ReleaseDoc(result);
    return result;
  }

  MemoryHost host;
  std::shared_ptr<FakeExchange> exchange = std::make_shared<FakeExchange>();
  releaseScript script{fakeRequests(exchange)};
};

TEST_F(DocumentRelease, PostsTheExampleDocumentByteForByte) {
  ASSERT_EQ(release(), KFX_REL_SUCCESS);
  std::string body = formPart("ExitProgramName", "PGM") + formPart("ExitProgramLib", "LIB") +
                     formPart("Delimiter", "|") + formPart("PARM1", "INV123") + formClose;
  EXPECT_EQ(formPart("ExitProgramName", "PGM").size(), 101u);
  EXPECT_EQ(formPart("ExitProgramLib", "LIB").size(), 100u);
  EXPECT_EQ(formPart("Delimiter", "|").size(), 93u);
  EXPECT_EQ(formPart("PARM1", "INV123").size(), 94u);
  EXPECT_EQ(exchange->body, body);
  EXPECT_EQ(exchange->body.size(), 426u);  // 430 with the terminator's final CR LF CR LF
  EXPECT_EQ(exchange->headers.back(), (std::pair<std::u16string, std::u16string>{u"Content-Length", u"426"}));
  EXPECT_EQ(exchange->url, u"http://gateway:8080/rpc/quorlex/");
  EXPECT_EQ(exchange->user, u"clerk");
  EXPECT_EQ(exchange->password, u"s3cret");
  EXPECT_EQ(host.events(), (std::vector<HostEvent>{loggedEvent(0, 250, u"Document Released Successfully")}));
}

TEST_F(DocumentRelease, TableFieldGivesOneParameterPerRowAndAnUnmappedValueNone) {
  host.setDocumentValues({MemoryValue{u"PARM3", u"", u"Items", {u"A", u"B"}},
                          MemoryValue{u"OriginalFolder", u"C:\\scan", u"", {}}, MemoryValue{u"PARM1", u"x", u"", {}}});
  ASSERT_EQ(release(), KFX_REL_SUCCESS);
  EXPECT_EQ(exchange->body, formPart("ExitProgramName", "PGM") + formPart("ExitProgramLib", "LIB") +
                                formPart("Delimiter", "|") + formPart("PARM3", "A") + formPart("PARM3", "B") +
                                formPart("PARM1", "x") + formClose);
}

TEST_F(DocumentRelease, StoredAddressIsTakenAsItStands) {
  host.record().customProperties[0].second = u"http://gateway/";
  (void)release();
  EXPECT_EQ(exchange->url, u"http://gateway//rpc/quorlex/");
}

TEST_F(DocumentRelease, RecordNeverSetUpPostsEmptyFieldsToTheBareAddress) {
  host.record() = SetupRecord{};
  host.setDocumentValues({});
  exchange->failures["send"] = static_cast<ResultCode>(0xA0B0C0D0);
  EXPECT_EQ(release(), KFX_REL_ERROR);
  EXPECT_EQ(exchange->url, u"/rpc/quorlex/");
  EXPECT_EQ(exchange->user, u"");
  EXPECT_EQ(exchange->password, u"");
  EXPECT_EQ(exchange->body,
            formPart("ExitProgramName", "") + formPart("ExitProgramLib", "") + formPart("Delimiter", "") + formClose);
  std::u16string text = u"http request failed: 0xA0B0C0D0, Unknown error 0xA0B0C0D0";
  EXPECT_EQ(host.events(), (std::vector<HostEvent>{loggedEvent(1, 238, text), sentEvent(text)}));
}

TEST_F(DocumentRelease, DocumentWithoutValuesPostsTheThreeExitProgramFields) {
  host.setDocumentValues({});
  ASSERT_EQ(release(), KFX_REL_SUCCESS);
  EXPECT_EQ(exchange->body,
            formPart("ExitProgramName", "PGM") + formPart("ExitProgramLib", "LIB") + formPart("Delimiter", "|") + formClose);
}

TEST_F(DocumentRelease, NoDocumentDataReleasesNothing) {
  releaseScript unset{fakeRequests(exchange)};
  KfxReturnValue result = KFX_REL_SUCCESS;
  unset.ReleaseDoc(result);
  EXPECT_EQ(result, KFX_REL_ERROR);
  EXPECT_EQ(exchange->requestsCreated, 0);
}

struct FailureRow {
  const char* name;
  std::function<void(MemoryHost&, FakeExchange&)> arrange;
  std::vector<HostEvent> events;
  int posts;
  KfxReturnValue result;
};

class DocumentReleaseFailure : public DocumentRelease, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(DocumentReleaseFailure, LogsPostsAndAnswersAsTheTableSays) {
  const FailureRow& row = GetParam();
  row.arrange(host, *exchange);
  EXPECT_EQ(release(), row.result);
  EXPECT_EQ(exchange->requestsCreated, row.posts);
  EXPECT_EQ(host.events(), row.events);
}

const std::u16string rejected = u"HTTP Request returned 500 (Internal Server Error) ";

INSTANTIATE_TEST_SUITE_P(
    Table, DocumentReleaseFailure,
    ::testing::Values(
        FailureRow{"setting_unreadable",
                   [](MemoryHost& host, FakeExchange&) {
                     host.faults().fail(HostOperation::CustomPropertyValue, resultFail, 4);  // the delimiter
                     host.faults().fail(HostOperation::ReleaseUserName, resultFail);
                   },
                   {loggedEvent(0, 250, u"Document Released Successfully")}, 1, KFX_REL_SUCCESS},
        FailureRow{"no_values_collection",
                   [](MemoryHost& host, FakeExchange&) { host.faults().fail(HostOperation::ReleaseValues, resultFail); },
                   {loggedEvent(1, 193, u"Failed to get values"), sentEvent(u"Failed to get values")}, 0, KFX_REL_ERROR},
        FailureRow{"count_of_values_unreadable",
                   [](MemoryHost& host, FakeExchange&) { host.faults().fail(HostOperation::ValuesCount, resultFail); },
                   {loggedEvent(1, 125, u"Failed to get count of values"), sentEvent(u"Failed to get count of values")}, 0,
                   KFX_REL_ERROR},
        FailureRow{"assembly_throws",
                   [](MemoryHost& host, FakeExchange&) {
                     host.setDocumentValues({MemoryValue{u"PARM1", u"INV123", u"", {}}, MemoryValue{u"PARM2", u"x", u"", {}}});
                     host.faults().throwOn(HostOperation::ValuesItem, 2);
                   },
                   {loggedEvent(1, 223, u"Error in ReleaseDoc"), sentEvent(u"Error in ReleaseDoc")}, 0,
                   KFX_REL_ERROR},
        // Memory running out while a setting or value is read is no missing value: the
        // document is not posted with it left out.
        FailureRow{"setting_read_out_of_memory",
                   [](MemoryHost& host, FakeExchange&) {
                     host.faults().fail(HostOperation::CustomPropertyValue, resultOutOfMemory, 2);  // the program
                   },
                   {loggedEvent(1, 223, u"Error in ReleaseDoc"), sentEvent(u"Error in ReleaseDoc")}, 0,
                   KFX_REL_ERROR},
        FailureRow{"user_name_read_out_of_memory",
                   [](MemoryHost& host, FakeExchange&) {
                     host.faults().fail(HostOperation::ReleaseUserName, resultOutOfMemory);
                   },
                   {loggedEvent(1, 223, u"Error in ReleaseDoc"), sentEvent(u"Error in ReleaseDoc")}, 0,
                   KFX_REL_ERROR},
        FailureRow{"value_read_out_of_memory",
                   [](MemoryHost& host, FakeExchange&) {
                     host.faults().fail(HostOperation::ValueValue, resultOutOfMemory);
                   },
                   {loggedEvent(1, 223, u"Error in ReleaseDoc"), sentEvent(u"Error in ReleaseDoc")}, 0,
                   KFX_REL_ERROR},
        FailureRow{"row_read_out_of_memory",
                   [](MemoryHost& host, FakeExchange&) {
                     host.setDocumentValues({MemoryValue{u"PARM2", u"", u"Lines", {u"one", u"two"}}});
                     host.faults().fail(HostOperation::RowValueValue, resultOutOfMemory, 2);
                   },
                   {loggedEvent(1, 223, u"Error in ReleaseDoc"), sentEvent(u"Error in ReleaseDoc")}, 0,
                   KFX_REL_ERROR},
        FailureRow{"gateway_rejects",
                   [](MemoryHost&, FakeExchange& exchange) {
                     exchange.status = 500;
                     exchange.statusText = u"Internal Server Error";
                   },
                   {loggedEvent(1, 238, rejected), sentEvent(rejected)}, 1, KFX_REL_ERROR},
        FailureRow{"gateway_unreachable",
                   [](MemoryHost&, FakeExchange& exchange) {
                     exchange.failures["send"] = static_cast<ResultCode>(0x800C0005);
                   },
                   {loggedEvent(1, 238, u"http request failed: 0x800C0005, Unable to contact server"),
                    sentEvent(u"http request failed: 0x800C0005, Unable to contact server")},
                   1, KFX_REL_ERROR}),
    [](const auto& info) { return info.param.name; });

TEST_F(DocumentRelease, ADocumentWhoseAssemblyThrewIsReleasedWholeNextTime) {
  host.setDocumentValues({MemoryValue{u"PARM1", u"INV123", u"", {}}, MemoryValue{u"PARM2", u"x", u"", {}}});
  host.faults().throwOn(HostOperation::ValuesItem, 2);
  ASSERT_EQ(release(), KFX_REL_ERROR);
  host.faults().clear();
  ASSERT_EQ(release(), KFX_REL_SUCCESS);
  EXPECT_EQ(exchange->requestsCreated, 1);
  EXPECT_EQ(exchange->body, formPart("ExitProgramName", "PGM") + formPart("ExitProgramLib", "LIB") +
                                formPart("Delimiter", "|") + formPart("PARM1", "INV123") + formPart("PARM2", "x") +
                                formClose);
}

TEST_F(DocumentRelease, UnreadableSettingsArePostedEmpty) {
  host.faults().fail(HostOperation::CustomPropertyValue, resultFail, 4);
  host.faults().fail(HostOperation::ReleaseUserName, resultFail);
  (void)release();
  EXPECT_EQ(exchange->user, u"");
  EXPECT_NE(exchange->body.find(formPart("Delimiter", "")), std::string::npos);
}


class DocumentRedirect : public ::testing::TestWithParam<test_support::RedirectCase> {
 protected:
  void TearDown() override { clearLoggingTarget(); }
};

// A redirected post is a failure like any status but 200, whatever the page it points to
// answers: the document is not released and the log names the redirect.
TEST_P(DocumentRedirect, IsNotReleased) {
  test_support::LoopbackServer server(test_support::redirectReplies(GetParam()));
  MemoryHost host;
  host.record().customProperties = {{u"serverURL", fromUtf8("http://127.0.0.1:" + std::to_string(server.port()))},
                                    {u"ExitProgramProgram", u"PGM"}};
  releaseScript script;
  script.setDocumentData(host.releaseData());
  KfxReturnValue result = KFX_REL_SUCCESS;
  script.ReleaseDoc(result);

  EXPECT_EQ(result, KFX_REL_ERROR);
  std::u16string text = fromUtf8(test_support::redirectFailureText(GetParam()));
  EXPECT_EQ(host.events(), (std::vector<HostEvent>{loggedEvent(1, 238, text), sentEvent(text)}));
  EXPECT_EQ(server.requests().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentRedirect, ::testing::ValuesIn(test_support::redirectCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
