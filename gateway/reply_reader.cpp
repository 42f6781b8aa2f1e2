#include "gateway/reply_reader.h"

#include <memory>

#include "gateway/xml_document.h"

namespace quorlex {
namespace {

std::u16string readDescription(std::u16string_view replyText) {
  std::unique_ptr<XmlDocument> document = createXmlDocument();
  if (!document) return {};
  if (failed(document->setValidateOnParse(true))) return {};
  if (failed(document->setResolveExternals(true))) return {};
  if (failed(document->setAsync(false))) return {};

  bool loaded = false;
  if (failed(document->loadXML(replyText, loaded)) || !loaded) return {};

  std::unique_ptr<XmlNode> node;
  if (failed(document->selectSingleNode(u"//*[@id='statusDescription']", node)) || !node) return {};
  std::u16string text;
  if (failed(node->text(text))) return {};
  return text;
}

}  // namespace

std::u16string readStatusDescription(std::u16string_view replyText) noexcept {
  // Memory running out on the way only loses the description, like any other failure here.
  try {
    return readDescription(replyText);
  } catch (...) {
    return {};
  }
}

}  // namespace quorlex
