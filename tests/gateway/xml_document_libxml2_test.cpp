#include <gtest/gtest.h>

#include <memory>

#include "gateway/xml_document.h"

namespace quorlex {
namespace {

TEST(LibxmlDocument, SelectsNothingBeforeOrAfterAFailedLoad) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  ASSERT_NE(document, nullptr);
  std::unique_ptr<XmlNode> node;
  EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
  EXPECT_EQ(node, nullptr);

  bool loaded = true;
  EXPECT_EQ(document->loadXML(u"<unclosed>", loaded), resultOk);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
  EXPECT_EQ(node, nullptr);
}

TEST(LibxmlDocument, NodeOutlivesItsDocument) {
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

}  // namespace
}  // namespace quorlex
