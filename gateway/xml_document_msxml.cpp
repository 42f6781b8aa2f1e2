// The XML document on the platform's version-independent DOMDocument (IXMLDOMDocument2), for
// replies that come from the network. Nothing external is resolved, and no document type is
// let in: MSXML 3.0 bounds neither entity expansion nor nesting unless told, and Wine's
// document takes no notice of ProhibitDTD, so a reply that declares one is refused here
// before it reaches the parser.
#include <windows.h>

#include <memory>

#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "common/unique_variant.h"
#include "gateway/msxml_interfaces.h"
#include "gateway/xml_document.h"

namespace quorlex {
namespace {

constexpr DWORD everyServerContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                     CLSCTX_REMOTE_SERVER;

// Nesting deeper than this is taken for an attack (the limit MSXML 6.0 has by default).
constexpr LONG maxElementDepth = 256;

VARIANT_BOOL variantBool(bool on) { return on ? VARIANT_TRUE : VARIANT_FALSE; }

// The settings against hostile replies, on every version that knows them; a version that
// does not refuses the name, and that is all right (the screen in loadXML still holds).
void prohibitWhatThePlatformLets(msxml::IXMLDOMDocument2& document) {
  auto set = [&](std::u16string_view name, unique_variant value) {
    unique_bstr property = unique_bstr::from(name);
    if (property) (void)document.setProperty(property.get(), *value.get());
  };
  unique_variant on;
  V_VT(on.get()) = VT_BOOL;
  V_BOOL(on.get()) = VARIANT_TRUE;
  set(u"ProhibitDTD", std::move(on));
  set(u"MaxElementDepth", unique_variant::fromLong(maxElementDepth));
  (void)document.put_resolveExternals(VARIANT_FALSE);
}

class MsxmlNode final : public XmlNode {
 public:
  explicit MsxmlNode(com_ptr<msxml::IXMLDOMNode> node) : node_(std::move(node)) {}

  ResultCode text(std::u16string& out) override {
    unique_bstr text;
    HRESULT code = node_->get_text(text.put());
    if (FAILED(code)) return code;
    out = text.text();
    return resultOk;
  }

 private:
  com_ptr<msxml::IXMLDOMNode> node_;  // holds its document too
};

class MsxmlDocument final : public XmlDocument {
 public:
  explicit MsxmlDocument(com_ptr<msxml::IXMLDOMDocument2> document) : document_(std::move(document)) {}

  ResultCode setValidateOnParse(bool on) override { return document_->put_validateOnParse(variantBool(on)); }
  // Accepted and never acted on: external definitions and entities are not fetched.
  ResultCode setResolveExternals(bool) override { return document_->put_resolveExternals(VARIANT_FALSE); }
  ResultCode setAsync(bool on) override { return document_->put_async(variantBool(on)); }

  ResultCode loadXML(std::u16string_view text, bool& loaded) override {
    loaded = false;
    // A document type can only be declared by this markup, verbatim; where it stands in a
    // comment or a CDATA section instead, the reply merely goes without its description.
    // The empty text in its place fails to load and leaves the document empty.
    bool declaresType = text.find(u"<!DOCTYPE") != std::u16string_view::npos;
    unique_bstr xml = unique_bstr::from(declaresType ? std::u16string_view() : text);
    if (!xml) return resultOutOfMemory;
    VARIANT_BOOL success = VARIANT_FALSE;
    HRESULT code = document_->loadXML(xml.get(), &success);
    if (FAILED(code)) return code;
    loaded = success == VARIANT_TRUE && !declaresType;
    return resultOk;
  }

  ResultCode selectSingleNode(std::u16string_view expression, std::unique_ptr<XmlNode>& node) override {
    node.reset();
    unique_bstr query = unique_bstr::from(expression);
    if (!query) return resultOutOfMemory;
    com_ptr<msxml::IXMLDOMNode> found;
    HRESULT code = document_->selectSingleNode(query.get(), found.put());
    if (FAILED(code)) return code;
    if (found) node = std::make_unique<MsxmlNode>(std::move(found));
    return resultOk;
  }

 private:
  com_ptr<msxml::IXMLDOMDocument2> document_;
};

}  // namespace

std::unique_ptr<XmlDocument> createXmlDocument() {
  com_ptr<msxml::IXMLDOMDocument2> document;
  if (FAILED(CoCreateInstance(msxml::clsidDomDocument, nullptr, everyServerContext, msxml::iidXmlDomDocument2,
                              document.put_void()))) {
    return nullptr;
  }
  prohibitWhatThePlatformLets(*document.get());
  return std::make_unique<MsxmlDocument>(std::move(document));
}

}  // namespace quorlex
