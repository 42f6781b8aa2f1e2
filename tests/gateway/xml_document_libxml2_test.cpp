#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "gateway/reply_reader.h"
#include "gateway/xml_document.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

TEST(LibxmlDocument, ValidationCanBeTurnedOff) {
  std::u16string invalid = u"<!DOCTYPE r [<!ELEMENT r EMPTY>]><r>text</r>";
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  bool loaded = true;
  ASSERT_EQ(document->loadXML(invalid, loaded), resultOk);
  EXPECT_FALSE(loaded);
  ASSERT_EQ(document->setValidateOnParse(false), resultOk);
  ASSERT_EQ(document->loadXML(invalid, loaded), resultOk);
  EXPECT_TRUE(loaded);
}

TEST(LibxmlDocument, LoadsOnlySynchronously) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  EXPECT_EQ(document->setAsync(true), resultNotImplemented);
  EXPECT_EQ(document->setAsync(false), resultOk);
}

TEST(LibxmlDocument, MalformedExpressionIsAFailure) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  bool loaded = false;
  ASSERT_EQ(document->loadXML(u"<r/>", loaded), resultOk);
  std::unique_ptr<XmlNode> node;
  EXPECT_TRUE(failed(document->selectSingleNode(u"//*[", node)));
  EXPECT_EQ(node, nullptr);
}

struct ReplyCase {
  const char* name;
  std::string reply;
  std::u16string description;
};

class LibxmlReply : public ::testing::TestWithParam<ReplyCase> {};

// What the reply reader gets from libxml2 alone: validation against an inline document type,
// internal entities expanded, external ones left empty, the text read as already decoded.
TEST_P(LibxmlReply, GivesTheDescription) {
  EXPECT_EQ(readStatusDescription(fromUtf8(GetParam().reply)), GetParam().description);
}

const std::string declareR = "<!ELEMENT r (#PCDATA)><!ATTLIST r id CDATA #IMPLIED>";

INSTANTIATE_TEST_SUITE_P(
    Cases, LibxmlReply,
    ::testing::Values(
        ReplyCase{"conforms_to_inline_type",
                  "<!DOCTYPE reply [<!ELEMENT reply (status)><!ELEMENT status (#PCDATA)>"
                  "<!ATTLIST status id CDATA #REQUIRED>]><reply><status id='statusDescription'>valid</status></reply>",
                  u"valid"},
        ReplyCase{"internal_entity_expanded",
                  "<!DOCTYPE r [" + declareR + "<!ENTITY who 'QGPL/INVPGM'>]><r id='statusDescription'>&who; failed</r>",
                  u"QGPL/INVPGM failed"},
        ReplyCase{"external_entity_left_empty",
                  "<!DOCTYPE r [" + declareR +
                      "<!ENTITY x SYSTEM 'file:///etc/hostname'>]><r id='statusDescription'>before &x; after</r>",
                  u"before  after"},
        ReplyCase{"declared_encoding_is_moot",
                  "<?xml version='1.0' encoding='ISO-8859-1'?><r id='statusDescription'>\xC3\xBC</r>", u"ü"},
        ReplyCase{"undeclared_prefix", "<q:r id='statusDescription'>no</q:r>", u""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
