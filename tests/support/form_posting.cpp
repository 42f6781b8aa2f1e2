#include "tests/support/form_posting.h"

#include <memory>

#include "common/text.h"

namespace quorlex::test_support {

std::string formPart(const std::string& name, const std::string& value) {
  return formDelimiter + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

std::string formBody(const MultipartForm& form) {
  auto bytes = form.bodyBytes();
  return std::string(bytes.begin(), bytes.end());
}

void addExampleFields(MultipartForm& form) {
  (void)form.addField(u"ExitProgramName", u"PGM");
  (void)form.addField(u"ExitProgramLib", u"LIB");
  (void)form.addField(u"Delimiter", u"|");
  (void)form.addField(u"PARM1", u"INV123");
}

std::string exampleBody() {
  return formPart("ExitProgramName", "PGM") + formPart("ExitProgramLib", "LIB") + formPart("Delimiter", "|") +
         formPart("PARM1", "INV123") + formClose;
}

Posted postForm(const std::string& url, MultipartForm& form, std::u16string_view user, std::u16string_view password) {
  Posted posted;
  std::unique_ptr<ReplyDocument> reply;
  posted.result = form.post(fromUtf8(url), user, password, reply, posted.errorText);
  posted.replyDocument = reply != nullptr;
  return posted;
}

Posted postOneField(const std::string& url) {
  MultipartForm form;
  (void)form.addField(u"ExitProgramName", u"PGM");
  return postForm(url, form);
}

}  // namespace quorlex::test_support
