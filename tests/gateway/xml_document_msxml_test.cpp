// The Windows document (the platform's DOMDocument) and what the reply reader gets from it:
// no document type is let in at all, whatever it declares, and nothing is fetched.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "gateway/reply_reader.h"
#include "gateway/xml_document.h"
#include "tests/support/loopback_server.h"

namespace quorlex {
namespace {

class MsxmlDocument : public ::testing::Test {};

TEST_F(MsxmlDocument, SelectsNothingAfterAFailedOrRefusedLoad) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  ASSERT_NE(document, nullptr);
  std::unique_ptr<XmlNode> node;
  EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
  EXPECT_EQ(node, nullptr);

  for (std::u16string_view refused : {u"<unclosed>", u"<!DOCTYPE r><r>typed</r>"}) {
    bool loaded = false;
    ASSERT_EQ(document->loadXML(u"<r>before</r>", loaded), resultOk);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(document->loadXML(refused, loaded), resultOk);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
    EXPECT_EQ(node, nullptr) << toUtf8(refused);
  }
}

TEST_F(MsxmlDocument, NodeOutlivesItsDocument) {
  std::unique_ptr<XmlNode> node;
  {
    std::unique_ptr<XmlDocument> document = createXmlDocument();
    bool loaded = false;
    ASSERT_EQ(document->loadXML(u"<r><a>kept</a></r>", loaded), resultOk);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(document->selectSingleNode(u"//a", node), resultOk);
  }
  std::u16string text;
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->text(text), resultOk);
  EXPECT_EQ(text, u"kept");
}

struct ReplyCase {
  const char* name;
  std::string reply;
};

class MsxmlTypedReply : public MsxmlDocument, public ::testing::WithParamInterface<ReplyCase> {};

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
TEST_F(MsxmlDocument, SchemaNamespaceIsNotFetched) {
  test_support::LoopbackServer server({test_support::httpReply(200, "OK", "<Schema/>")});
  std::u16string description =
      readStatusDescription(fromUtf8("<r xmlns='x-schema:" + server.url("/schema") + "' id='statusDescription'>x</r>"));
  EXPECT_EQ(server.connectionsAccepted(), 0);
  (void)description;  // read or not: only what went out matters
}

TEST_F(MsxmlDocument, DeepNestingHasNoDescription) {
  std::string reply;
  for (int level = 0; level < 5000; ++level) reply += "<a>";
  reply += "<r id='statusDescription'>deep</r>";
  for (int level = 0; level < 5000; ++level) reply += "</a>";
  EXPECT_EQ(readStatusDescription(fromUtf8(reply)), u"");
}

}  // namespace
}  // namespace quorlex
