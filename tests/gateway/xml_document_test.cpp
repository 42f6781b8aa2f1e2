// The platform's document (libxml2 on Linux, MSXML on Windows) as the reply reader uses it.
#include "gateway/xml_document.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quorlex {
namespace {

// A failed load leaves nothing of an earlier one behind.
TEST(XmlDocument, SelectsNothingBeforeOrAfterAFailedLoad) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  ASSERT_NE(document, nullptr);
  std::unique_ptr<XmlNode> node;
  EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
  EXPECT_EQ(node, nullptr);

  bool loaded = false;
  ASSERT_EQ(document->loadXML(u"<r>before</r>", loaded), resultOk);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(document->loadXML(u"<unclosed>", loaded), resultOk);
  EXPECT_FALSE(loaded);
  EXPECT_EQ(document->selectSingleNode(u"//*", node), resultOk);
  EXPECT_EQ(node, nullptr);
}

TEST(XmlDocument, NodeOutlivesItsDocument) {
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

}  // namespace
}  // namespace quorlex
