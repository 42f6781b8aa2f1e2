#include <string>

#include "gateway/multipart_form.h"
#include "release/connector_settings.h"
#include "release/host_log.h"
#include "release/parameter_assembly.h"
#include "release/release_script.h"

namespace quorlex {

void releaseScript::ReleaseDoc(KfxReturnValue& result) {
  result = KFX_REL_ERROR;
  // Outside the host's order of calls: nothing to release, and nowhere to log.
  if (!documentData_) return;
  // A form with only some of the document's fields is never posted: the gateway could take
  // it, and the document would count as released with values missing. Whatever stops the
  // body being built whole (a short append, memory, the host throwing) ends here.
  try {
    IReleaseData& document = *documentData_;

    ConnectorSettings settings = readConnectorSettings(document);
    std::shared_ptr<IValues> values;
    if (!hostSucceeded(document.values(values)) || !values) {
      logToHost(hostMessage::valuesLine, levelError, hostMessage::valuesText);
      return;
    }

    MultipartForm form;
    if (!form.addField(u"ExitProgramName", settings.ExitProgramProgram) ||
        !form.addField(u"ExitProgramLib", settings.ExitProgramLibrary) ||
        !form.addField(u"Delimiter", settings.ExitProgramDelimiter)) {
      logToHost(hostMessage::releaseDocErrorLine, levelError, hostMessage::releaseDocErrorText);
      return;
    }
    if (!addParameters(*values, form)) return;  // it has logged "Failed to get count of values"

    std::u16string address = settings.serverURL + u"/rpc/quorlex/";
    std::unique_ptr<ReplyDocument> reply;
    std::u16string errorText;
    if (form.post(address, settings.userName, settings.password, reply, errorText, newRequest_)) {
      logToHost(hostMessage::releasedLine, levelNotice, hostMessage::releasedText);
      result = KFX_REL_SUCCESS;
    } else {
      logToHost(hostMessage::postFailedLine, levelError, errorText);
    }
  } catch (...) {
    logToHost(hostMessage::releaseDocErrorLine, levelError, hostMessage::releaseDocErrorText);
  }
}

}  // namespace quorlex
