// The Windows document (the platform's DOMDocument) and what the reply reader gets from it:
// no document type is let in at all, whatever it declares, and nothing is fetched.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "gateway/reply_reader.h"
#include "gateway/xml_document.h"
#include "tests/support/loopback_server.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

TEST(MsxmlDocument, ARefusedLoadLeavesNothingOfAnEarlierOne) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  bool loaded = false;
  ASSERT_EQ(document->loadXML(u"<r>before</r>", loaded), resultOk);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(document->loadXML(u"<!DOCTYPE r><r>typed</r>", loaded), resultOk);
  EXPECT_FALSE(loaded);
  std::unique_ptr<XmlNode> node;
  EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
  EXPECT_EQ(node, nullptr);
}

struct ReplyCase {
  const char* name;
  std::string reply;
};

class MsxmlTypedReply : public ::testing::TestWithParam<ReplyCase> {};

// Every reply that declares a document type goes without its description, harmless or not.
TEST_P(MsxmlTypedReply, HasNoDescription) { EXPECT_EQ(readStatusDescription(fromUtf8(GetParam().reply)), u""); }

const std::string declareR = "<!ELEMENT r (#PCDATA)><!ATTLIST r id CDATA #IMPLIED>";

INSTANTIATE_TEST_SUITE_P(
    Cases, MsxmlTypedReply,
    ::testing::Values(
        ReplyCase{"conforms_to_inline_type", "<!DOCTYPE r [" + declareR + "]><r id='statusDescription'>valid</r>"},
        ReplyCase{"internal_entity", "<!DOCTYPE r [" + declareR + "<!ENTITY who 'QGPL'>]><r id='statusDescription'>&who;</r>"},
        ReplyCase{"external_entity", "<!DOCTYPE r [" + declareR +
                                         "<!ENTITY x SYSTEM 'file:///C:/windows/win.ini'>]><r id='statusDescription'>a &x; b</r>"},
        ReplyCase{"after_a_comment", "<!-- reply --><!DOCTYPE r [" + declareR + "]><r id='statusDescription'>x</r>"}),
    [](const auto& info) { return info.param.name; });

// MSXML 3.0 loads the schema that an x-schema namespace names, when it resolves externals.
TEST(MsxmlDocument, SchemaNamespaceIsNotFetched) {
  test_support::LoopbackServer server({test_support::httpReply(200, "OK", "<Schema/>")});
  (void)readStatusDescription(fromUtf8("<r xmlns='x-schema:" + server.url("/schema") + "' id='statusDescription'>x</r>"));
  EXPECT_EQ(server.connectionsAccepted(), 0);  // read or not, nothing went out
}

TEST(MsxmlDocument, DeepNestingHasNoDescription) {
  std::string reply;
  for (int level = 0; level < 5000; ++level) reply += "<a>";
  reply += "<r id='statusDescription'>deep</r>";
  for (int level = 0; level < 5000; ++level) reply += "</a>";
  EXPECT_EQ(readStatusDescription(fromUtf8(reply)), u"");
}

}  // namespace
}  // namespace quorlex
