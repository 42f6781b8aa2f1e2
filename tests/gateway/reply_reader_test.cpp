// The reply reader over the platform's document (libxml2 on Linux, MSXML on Windows): the
// selection rule, and replies that try to reach out or to blow up. What the two documents do
// differently with a declared document type is in their own tests.
#include "gateway/reply_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/text.h"
#include "tests/support/loopback_server.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

std::u16string describe(const std::string& reply) { return readStatusDescription(fromUtf8(reply)); }

struct ReplyCase {
  const char* name;
  std::string reply;
  std::u16string description;
};

class ReadStatusDescription : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReadStatusDescription, FindsTheFirstElementWithThatId) {
  EXPECT_EQ(describe(GetParam().reply), GetParam().description);
}

// Declares the element r of the hostile replies, so that they validate and get read.
const std::string declareR = "<!ELEMENT r (#PCDATA)><!ATTLIST r id CDATA #IMPLIED>";

const std::string inlineType =
    "<!DOCTYPE reply [<!ELEMENT reply (status)><!ELEMENT status (#PCDATA)>"
    "<!ATTLIST status id CDATA #REQUIRED>]>";

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadStatusDescription,
    ::testing::Values(
        ReplyCase{"plain", "<reply><status id=\"statusDescription\">Rejected</status></reply>", u"Rejected"},
        ReplyCase{"anywhere_in_the_document", "<a><b><c/><d id='statusDescription'>deep</d></b></a>", u"deep"},
        ReplyCase{"first_of_two", "<r><x id='statusDescription'>first</x><y id='statusDescription'>second</y></r>",
                  u"first"},
        ReplyCase{"children_concatenated",
                  "<r><p id='statusDescription'>Exit <b>program</b> ended<i> abnormally</i><!-- not this --></p></r>",
                  u"Exit program ended abnormally"},
        ReplyCase{"cdata_is_text", "<r id='statusDescription'><![CDATA[a < b]]></r>", u"a < b"},
        ReplyCase{"ends_trimmed", "<r id='statusDescription'>\n   Rejected  \n</r>", u"Rejected"},
        ReplyCase{"non_ascii", "<r id='statusDescription'>Ung\xC3\xBCltig \xE2\x82\xAC</r>", u"Ungültig €"},
        ReplyCase{"upper_case_attribute", "<r ID='statusDescription'>no</r>", u""},
        ReplyCase{"mixed_case_attribute", "<r Id='statusDescription'>no</r>", u""},
        ReplyCase{"other_value", "<r id='statusdescription'>no</r>", u""},
        ReplyCase{"attribute_in_a_namespace", "<r xmlns:q='urn:q'><d q:id='statusDescription'>no</d></r>", u""},
        ReplyCase{"no_such_element", "<reply><status>500</status></reply>", u""},
        ReplyCase{"html_error_page", "<html><body><h1>Error</h1><br></body></html>", u""},
        ReplyCase{"not_xml", "Internal Server Error", u""},
        ReplyCase{"empty", "", u""},
        ReplyCase{"breaks_inline_type",
                  inlineType + "<reply><status id='statusDescription'>invalid</status><extra/></reply>", u""},
        ReplyCase{"inline_type_without_the_element",
                  "<!DOCTYPE r [<!ENTITY who 'QGPL/INVPGM'>]><r id='statusDescription'>&who; failed</r>", u""}),
    [](const auto& info) { return info.param.name; });

class HostileReply : public ::testing::Test {
 protected:
  void SetUp() override {
    secretFile = std::filesystem::temp_directory_path() /
                 ("quorlex-secret-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::ofstream(secretFile) << "TOPSECRET";
    std::ofstream(secretFile.string() + ".dtd") << "<!ELEMENT r (#PCDATA)><!ATTLIST r id CDATA #IMPLIED>"
                                                   "<!ENTITY leak 'TOPSECRET'>";
  }
  void TearDown() override {
    std::filesystem::remove(secretFile);
    std::filesystem::remove(secretFile.string() + ".dtd");
  }
  // file:///tmp/... on Linux, file:///C:/users/... on Windows.
  std::string fileUrl(const std::string& suffix = "") const {
    std::string path = secretFile.generic_string() + suffix;
    return path.starts_with("/") ? "file://" + path : "file:///" + path;
  }

  std::filesystem::path secretFile;
};

TEST_F(HostileReply, ExternalEntityIsNeverRead) {
  std::u16string description = describe("<!DOCTYPE r [" + declareR + "<!ENTITY x SYSTEM '" + fileUrl() +
                                         "'>]><r id='statusDescription'>before &x; after</r>");
  EXPECT_EQ(description.find(u"TOPSECRET"), std::u16string::npos);
}

TEST_F(HostileReply, ExternalDocumentTypeIsNeverRead) {
  std::u16string description =
      describe("<!DOCTYPE r SYSTEM '" + fileUrl(".dtd") + "'><r id='statusDescription'>&leak;</r>");
  EXPECT_EQ(description, u"");
}

TEST_F(HostileReply, ExternalParameterEntityIsNeverRead) {
  std::u16string description = describe("<!DOCTYPE r [" + declareR + "<!ENTITY % ext SYSTEM '" + fileUrl(".dtd") +
                                        "'>%ext;]><r id='statusDescription'>x&leak;</r>");
  EXPECT_EQ(description.find(u"TOPSECRET"), std::u16string::npos);
}

TEST(HostileReplyNetwork, NothingIsFetchedFromTheNetwork) {
  test_support::LoopbackServer server({test_support::httpReply(200, "OK", "TOPSECRET")});
  std::string url = server.url("/entity");
  std::u16string description = describe("<!DOCTYPE r SYSTEM '" + url + "' [" + declareR + "<!ENTITY x SYSTEM '" + url +
                                        "'>]><r id='statusDescription'>&x;</r>");
  EXPECT_EQ(description.find(u"TOPSECRET"), std::u16string::npos);
  EXPECT_EQ(server.connectionsAccepted(), 0);
}

TEST(HostileReplyExpansion, BillionLaughsGivesNoDescription) {
  std::string reply = "<!DOCTYPE r [" + declareR + "<!ENTITY l0 'ha'>";
  for (int level = 1; level <= 10; ++level) {
    std::string previous = "&l" + std::to_string(level - 1) + ";";
    std::string content;
    for (int copy = 0; copy < 10; ++copy) content += previous;
    reply += "<!ENTITY l" + std::to_string(level) + " '" + content + "'>";
  }
  reply += "]><r id='statusDescription'>&l10;</r>";
  EXPECT_EQ(describe(reply), u"");
}

TEST(HostileReplyExpansion, QuadraticBlowupGivesNoDescription) {
  std::string reply = "<!DOCTYPE r [" + declareR + "<!ENTITY big '" + std::string(64 * 1024, 'x') + "'>]><r id='statusDescription'>";
  for (int copy = 0; copy < 200; ++copy) reply += "&big;";
  reply += "</r>";
  EXPECT_EQ(describe(reply), u"");
}

}  // namespace
}  // namespace quorlex
