#pragma once
// The release-script object that the host's release module drives: DocumentData, then
// OpenScript, ReleaseDoc once per document, CloseScript.

#include <memory>

#include "gateway/http_request.h"
#include "server/host_objects.h"

namespace quorlex {

class releaseScript {
 public:
  // The request factory is the platform's; tests and the reference host may put another.
  explicit releaseScript(HttpRequestFactory newRequest = createHttpRequest) : newRequest_(std::move(newRequest)) {}

  void OpenScript(KfxReturnValue& result);
  // Posts the current document to the gateway; KFX_REL_SUCCESS exactly when it answered 200.
  void ReleaseDoc(KfxReturnValue& result);
  void CloseScript(KfxReturnValue& result);

  std::shared_ptr<IReleaseData> DocumentData() const { return documentData_; }
  // Keeps the object as current and makes it the process-wide logging target.
  void setDocumentData(std::shared_ptr<IReleaseData> documentData);

 private:
  std::shared_ptr<IReleaseData> documentData_;
  HttpRequestFactory newRequest_;
};

}  // namespace quorlex
