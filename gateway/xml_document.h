#pragma once
// The platform's XML document, reduced to what the reply reader uses: settings, loading a
// text, and one XPath 1.0 selection. createXmlDocument is defined once per platform.

#include <memory>
#include <string>
#include <string_view>

#include "common/result_code.h"

namespace quorlex {

class XmlNode {
 public:
  virtual ~XmlNode() = default;
  // The character data of the node and its descendants, in document order.
  virtual ResultCode text(std::u16string& out) = 0;
};

class XmlDocument {
 public:
  virtual ~XmlDocument() = default;

  virtual ResultCode setValidateOnParse(bool on) = 0;
  virtual ResultCode setResolveExternals(bool on) = 0;
  virtual ResultCode setAsync(bool on) = 0;

  // loaded tells whether the text was parsed (and, where it declares a document type,
  // found valid); a failure code means the document could not even try.
  virtual ResultCode loadXML(std::u16string_view text, bool& loaded) = 0;
  // The first node in document order that matches the expression; none (and success) when
  // nothing matches. The node keeps the document alive.
  virtual ResultCode selectSingleNode(std::u16string_view expression, std::unique_ptr<XmlNode>& node) = 0;
};

// An empty document, or none when the platform cannot create one.
std::unique_ptr<XmlDocument> createXmlDocument();

}  // namespace quorlex
