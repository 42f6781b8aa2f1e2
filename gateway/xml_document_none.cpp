// The Windows document arrives with the MSXML transport; until then there is none, and a
// reply reads as having no status description.
#include "gateway/xml_document.h"

namespace quorlex {

std::unique_ptr<XmlDocument> createXmlDocument() { return nullptr; }

}  // namespace quorlex
