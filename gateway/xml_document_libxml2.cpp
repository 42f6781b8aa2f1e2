// The XML document on libxml2, for replies that come from the network. Nothing external is
// ever loaded: no network, no files, whatever the reply declares. Validation runs against the
// document type that the reply declares inline; text extraction through entities is bounded.
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xpath.h>

#include <climits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/text.h"
#include "gateway/xml_document.h"

namespace quorlex {
namespace {

// Past these, a description is taken for an expansion attack and read as none.
constexpr std::size_t maxTextBytes = std::size_t{1} << 20;
constexpr std::size_t maxTextNodes = std::size_t{1} << 20;

void ignoreError(void*, const char*, ...) {}
void ignoreStructuredError(void*, xmlErrorPtr) {}

// libxml2 loads external entities through one process-wide loader. While a reply is parsed
// on this thread, it refuses everything; other users of libxml2 keep the loader they had.
thread_local bool parsingReply = false;
xmlExternalEntityLoader previousLoader = nullptr;

xmlParserInputPtr refuseWhileParsingReply(const char* url, const char* id, xmlParserCtxtPtr context) {
  if (parsingReply || !previousLoader) return nullptr;
  return previousLoader(url, id, context);
}

void initialiseLibxml() {
  static std::once_flag once;
  std::call_once(once, [] {
    xmlInitParser();
    previousLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(refuseWhileParsingReply);
  });
}

// Marks this thread as parsing a reply and keeps libxml2's generic error output quiet.
class ReplyParsingScope {
 public:
  ReplyParsingScope() : errorFunction_(xmlGenericError), errorContext_(xmlGenericErrorContext) {
    parsingReply = true;
    xmlSetGenericErrorFunc(nullptr, ignoreError);
  }
  ~ReplyParsingScope() {
    xmlSetGenericErrorFunc(errorContext_, errorFunction_);
    parsingReply = false;
  }
  ReplyParsingScope(const ReplyParsingScope&) = delete;
  ReplyParsingScope& operator=(const ReplyParsingScope&) = delete;

 private:
  xmlGenericErrorFunc errorFunction_;
  void* errorContext_;
};

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};
struct ParserContextFree {
  void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};
struct ValidContextFree {
  void operator()(xmlValidCtxt* context) const { xmlFreeValidCtxt(context); }
};
struct XPathContextFree {
  void operator()(xmlXPathContext* context) const { xmlXPathFreeContext(context); }
};
struct XPathObjectFree {
  void operator()(xmlXPathObject* object) const { xmlXPathFreeObject(object); }
};

using SharedDocument = std::shared_ptr<xmlDoc>;

bool validAgainstInlineType(xmlDoc& document) {
  std::unique_ptr<xmlValidCtxt, ValidContextFree> validation(xmlNewValidCtxt());
  if (!validation) return false;
  validation->error = ignoreError;
  validation->warning = ignoreError;
  // Against the declarations in the reply itself only: an external subset is never fetched,
  // so a reply that needs one does not validate.
  return xmlValidateDtd(validation.get(), &document, document.intSubset) == 1;
}

class LibxmlNode final : public XmlNode {
 public:
  LibxmlNode(SharedDocument document, xmlNode* node) : document_(std::move(document)), node_(node) {}

  ResultCode text(std::u16string& out) override {
    std::string bytes;
    if (!collectText(bytes)) return resultFail;
    out = fromUtf8(trimmed(bytes));
    return resultOk;
  }

 private:
  // Character data in document order, entity references followed into their content. Walks
  // with its own stack, so nesting depth costs no call stack.
  bool collectText(std::string& out) const {
    std::vector<xmlNode*> siblings{node_->children};
    std::size_t visited = 0;
    while (!siblings.empty()) {
      xmlNode* node = siblings.back();
      if (!node) {
        siblings.pop_back();
        continue;
      }
      siblings.back() = node->next;
      if (++visited > maxTextNodes) return false;
      switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
          if (node->content) out.append(reinterpret_cast<const char*>(node->content));
          if (out.size() > maxTextBytes) return false;
          break;
        case XML_ELEMENT_NODE:
          siblings.push_back(node->children);
          break;
        case XML_ENTITY_REF_NODE:
          // The reference's child is the entity declaration; its children are the content.
          if (node->children) siblings.push_back(node->children->children);
          break;
        default:
          break;
      }
    }
    return true;
  }

  // Without white-space preservation the text carries no leading or trailing white space.
  static std::string_view trimmed(std::string_view text) {
    constexpr std::string_view space = " \t\r\n";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
  }

  SharedDocument document_;
  xmlNode* node_;
};

class LibxmlDocument final : public XmlDocument {
 public:
  ResultCode setValidateOnParse(bool on) override {
    validateOnParse_ = on;
    return resultOk;
  }
  // Accepted and never acted on: external definitions and entities are not fetched.
  ResultCode setResolveExternals(bool) override { return resultOk; }
  ResultCode setAsync(bool on) override { return on ? resultNotImplemented : resultOk; }

  ResultCode loadXML(std::u16string_view text, bool& loaded) override {
    loaded = false;
    document_.reset();
    std::string utf8 = toUtf8(text);
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return resultOk;
    std::unique_ptr<xmlParserCtxt, ParserContextFree> context(xmlNewParserCtxt());
    if (!context) return resultOutOfMemory;

    ReplyParsingScope scope;
    // The text is already decoded: its encoding declaration says nothing any more.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_IGNORE_ENC | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    SharedDocument document(xmlCtxtReadMemory(context.get(), utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                              "UTF-8", options),
                            DocumentFree{});
    if (!document || !context->wellFormed || !context->nsWellFormed) return resultOk;
    if (validateOnParse_ && document->intSubset && !validAgainstInlineType(*document)) return resultOk;
    document_ = std::move(document);
    loaded = true;
    return resultOk;
  }

  ResultCode selectSingleNode(std::u16string_view expression, std::unique_ptr<XmlNode>& node) override {
    node.reset();
    if (!document_) return resultOk;
    std::unique_ptr<xmlXPathContext, XPathContextFree> context(xmlXPathNewContext(document_.get()));
    if (!context) return resultOutOfMemory;
    context->error = ignoreStructuredError;
    ReplyParsingScope scope;
    std::string utf8 = toUtf8(expression);
    std::unique_ptr<xmlXPathObject, XPathObjectFree> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(utf8.c_str()), context.get()));
    if (!result) return resultInvalidArgument;
    // A location path's node set comes sorted in document order.
    if (result->type != XPATH_NODESET || !result->nodesetval || result->nodesetval->nodeNr == 0) return resultOk;
    node = std::make_unique<LibxmlNode>(document_, result->nodesetval->nodeTab[0]);
    return resultOk;
  }

 private:
  bool validateOnParse_ = true;
  SharedDocument document_;
};

}  // namespace

std::unique_ptr<XmlDocument> createXmlDocument() {
  initialiseLibxml();
  return std::make_unique<LibxmlDocument>();
}

}  // namespace quorlex
