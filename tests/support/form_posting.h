#pragma once
// A form posted through the platform's request object, as the release engine posts it, for
// the tests of the request objects against a peer.

#include <string>
#include <string_view>

#include "gateway/multipart_form.h"

namespace quorlex::test_support {

// The body as it goes on the wire, written out here independently of the form's code.
inline const std::string formBoundary = "---------------------------tarvRel";
inline const std::string formDelimiter = "--" + formBoundary;  // opens every part
inline const std::string formClose = formDelimiter + "--";     // ends the body

// One part of the body.
std::string formPart(const std::string& name, const std::string& value);

// What the form has written so far.
std::string formBody(const MultipartForm& form);

// The example document's fields: ExitProgramName PGM, ExitProgramLib LIB, Delimiter |, PARM1
// INV123; and its body as it goes on the wire, 426 bytes.
void addExampleFields(MultipartForm& form);
std::string exampleBody();

struct Posted {
  bool result = false;
  bool replyDocument = false;  // whether post handed a reply document over
  std::u16string errorText;
};

Posted postForm(const std::string& url, MultipartForm& form, std::u16string_view user = u"",
                std::u16string_view password = u"");
// The form with the one field ExitProgramName = PGM.
Posted postOneField(const std::string& url);

}  // namespace quorlex::test_support
