#pragma once
// The invoice both release benchmarks post: the three exit-program fields and six parameters,
// one a table of three rows, and the body the connector builds for it.

#include <string>
#include <string_view>

#include "gateway/multipart_form.h"
#include "testhost/memory_host.h"

namespace quorlex::bench {

inline void setUpInvoice(MemoryHost& host, std::u16string serverUrl) {
  host.record().customProperties = {{u"serverURL", std::move(serverUrl)},
                                    {u"ExitProgramProgram", u"INVPGM"},
                                    {u"ExitProgramLibrary", u"QGPL"},
                                    {u"ExitProgramDelimiter", u"|"}};
  host.setDocumentValues({{u"PARM1", u"INV-1002", u"", {}},
                          {u"PARM2", u"Nordlicht Papier AG", u"", {}},
                          {u"PARM3", u"87.20", u"", {}},
                          {u"PARM4", u"", u"InvoiceLines", {u"A4 paper, 10 reams", u"Toner, black", u"Delivery"}},
                          {u"PARM5", u"B-2024-0415", u"", {}},
                          {u"PARM6", u"AP", u"", {}}});
}

inline void addInvoiceFields(MultipartForm& form) {
  for (auto [name, value] : {std::pair{u"ExitProgramName", u"INVPGM"}, {u"ExitProgramLib", u"QGPL"}, {u"Delimiter", u"|"},
                             {u"PARM1", u"INV-1002"}, {u"PARM2", u"Nordlicht Papier AG"}, {u"PARM3", u"87.20"},
                             {u"PARM4", u"A4 paper, 10 reams"}, {u"PARM4", u"Toner, black"}, {u"PARM4", u"Delivery"},
                             {u"PARM5", u"B-2024-0415"}, {u"PARM6", u"AP"}}) {
    (void)form.addField(name, value);
  }
}

// The body as it goes on the wire: up to the closing delimiter, without the final CR LF CR LF.
inline std::string invoiceBody() {
  MultipartForm form;
  addInvoiceFields(form);
  (void)form.writeTerminator();
  auto bytes = form.bodyBytes();
  return std::string(bytes.begin(), bytes.end() - 4);
}

}  // namespace quorlex::bench
