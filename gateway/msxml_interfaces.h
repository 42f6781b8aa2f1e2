#pragma once
// The MSXML interface the reply reader calls through its vtable, IXMLDOMDocument2 (with
// IXMLDOMNode beneath it), declared here slot by slot in its documented order, with the class
// and interface ids: mingw carries no MSXML import library.
// Slots the transport never calls keep their place with loosely typed parameters.

#include <oaidl.h>

namespace quorlex::msxml {

// The version-independent DOMDocument.
inline constexpr CLSID clsidDomDocument{0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};

inline constexpr IID iidXmlDomNode{0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
inline constexpr IID iidXmlDomDocument2{0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

struct IXMLDOMNode : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_nodeName(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_nodeValue(VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_nodeValue(VARIANT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_nodeType(LONG* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_parentNode(IXMLDOMNode** parent) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_childNodes(IDispatch** children) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_firstChild(IXMLDOMNode** child) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_lastChild(IXMLDOMNode** child) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_previousSibling(IXMLDOMNode** sibling) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_nextSibling(IXMLDOMNode** sibling) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_attributes(IDispatch** attributes) = 0;
  virtual HRESULT STDMETHODCALLTYPE insertBefore(IXMLDOMNode* child, VARIANT reference, IXMLDOMNode** inserted) = 0;
  virtual HRESULT STDMETHODCALLTYPE replaceChild(IXMLDOMNode* child, IXMLDOMNode* old, IXMLDOMNode** replaced) = 0;
  virtual HRESULT STDMETHODCALLTYPE removeChild(IXMLDOMNode* child, IXMLDOMNode** removed) = 0;
  virtual HRESULT STDMETHODCALLTYPE appendChild(IXMLDOMNode* child, IXMLDOMNode** appended) = 0;
  virtual HRESULT STDMETHODCALLTYPE hasChildNodes(VARIANT_BOOL* has) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ownerDocument(IDispatch** document) = 0;
  virtual HRESULT STDMETHODCALLTYPE cloneNode(VARIANT_BOOL deep, IXMLDOMNode** clone) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_nodeTypeString(BSTR* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_text(BSTR* text) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_text(BSTR text) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_specified(VARIANT_BOOL* specified) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_definition(IXMLDOMNode** definition) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_nodeTypedValue(VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_nodeTypedValue(VARIANT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_dataType(VARIANT* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_dataType(BSTR type) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_xml(BSTR* xml) = 0;
  virtual HRESULT STDMETHODCALLTYPE transformNode(IXMLDOMNode* stylesheet, BSTR* xml) = 0;
  virtual HRESULT STDMETHODCALLTYPE selectNodes(BSTR query, IDispatch** nodes) = 0;
  virtual HRESULT STDMETHODCALLTYPE selectSingleNode(BSTR query, IXMLDOMNode** node) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_parsed(VARIANT_BOOL* parsed) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_namespaceURI(BSTR* uri) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_prefix(BSTR* prefix) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_baseName(BSTR* name) = 0;
  virtual HRESULT STDMETHODCALLTYPE transformNodeToObject(IXMLDOMNode* stylesheet, VARIANT output) = 0;
};

struct IXMLDOMDocument : public IXMLDOMNode {
  virtual HRESULT STDMETHODCALLTYPE get_doctype(IDispatch** type) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_implementation(IDispatch** implementation) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_documentElement(IDispatch** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_documentElement(IDispatch* element) = 0;
  virtual HRESULT STDMETHODCALLTYPE createElement(BSTR name, IDispatch** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE createDocumentFragment(IDispatch** fragment) = 0;
  virtual HRESULT STDMETHODCALLTYPE createTextNode(BSTR data, IDispatch** text) = 0;
  virtual HRESULT STDMETHODCALLTYPE createComment(BSTR data, IDispatch** comment) = 0;
  virtual HRESULT STDMETHODCALLTYPE createCDATASection(BSTR data, IDispatch** section) = 0;
  virtual HRESULT STDMETHODCALLTYPE createProcessingInstruction(BSTR target, BSTR data, IDispatch** instruction) = 0;
  virtual HRESULT STDMETHODCALLTYPE createAttribute(BSTR name, IDispatch** attribute) = 0;
  virtual HRESULT STDMETHODCALLTYPE createEntityReference(BSTR name, IDispatch** reference) = 0;
  virtual HRESULT STDMETHODCALLTYPE getElementsByTagName(BSTR name, IDispatch** nodes) = 0;
  virtual HRESULT STDMETHODCALLTYPE createNode(VARIANT type, BSTR name, BSTR uri, IXMLDOMNode** node) = 0;
  virtual HRESULT STDMETHODCALLTYPE nodeFromID(BSTR id, IXMLDOMNode** node) = 0;
  virtual HRESULT STDMETHODCALLTYPE load(VARIANT source, VARIANT_BOOL* loaded) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_readyState(LONG* state) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_parseError(IDispatch** error) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_url(BSTR* url) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_async(VARIANT_BOOL* async) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_async(VARIANT_BOOL async) = 0;
  virtual HRESULT STDMETHODCALLTYPE abort() = 0;
  virtual HRESULT STDMETHODCALLTYPE loadXML(BSTR xml, VARIANT_BOOL* loaded) = 0;
  virtual HRESULT STDMETHODCALLTYPE save(VARIANT destination) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_validateOnParse(VARIANT_BOOL* on) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_validateOnParse(VARIANT_BOOL on) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_resolveExternals(VARIANT_BOOL* on) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_resolveExternals(VARIANT_BOOL on) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_preserveWhiteSpace(VARIANT_BOOL* on) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_preserveWhiteSpace(VARIANT_BOOL on) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_onreadystatechange(VARIANT sink) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ondataavailable(VARIANT sink) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ontransformnode(VARIANT sink) = 0;
};

struct IXMLDOMDocument2 : public IXMLDOMDocument {
  virtual HRESULT STDMETHODCALLTYPE get_namespaces(IDispatch** namespaces) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_schemas(VARIANT* schemas) = 0;
  virtual HRESULT STDMETHODCALLTYPE putref_schemas(VARIANT schemas) = 0;
  virtual HRESULT STDMETHODCALLTYPE validate(IDispatch** error) = 0;
  virtual HRESULT STDMETHODCALLTYPE setProperty(BSTR name, VARIANT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE getProperty(BSTR name, VARIANT* value) = 0;
};

}  // namespace quorlex::msxml

__CRT_UUID_DECL(quorlex::msxml::IXMLDOMNode, 0x2933BF80, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60)
__CRT_UUID_DECL(quorlex::msxml::IXMLDOMDocument2, 0x2933BF95, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E,
                0x60)
