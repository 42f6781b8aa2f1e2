#pragma once
// The release-script object that the host's release module drives: DocumentData, then
// OpenScript, ReleaseDoc once per document, CloseScript.

#include <memory>

#include "server/host_objects.h"

namespace quorlex {

class releaseScript {
 public:
  void OpenScript(KfxReturnValue& result);
  void CloseScript(KfxReturnValue& result);

  std::shared_ptr<IReleaseData> DocumentData() const { return documentData_; }
  // Keeps the object as current and makes it the process-wide logging target.
  void setDocumentData(std::shared_ptr<IReleaseData> documentData);

 private:
  std::shared_ptr<IReleaseData> documentData_;
};

}  // namespace quorlex
