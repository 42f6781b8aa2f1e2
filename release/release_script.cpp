#include "release/release_script.h"

#include "release/host_log.h"

namespace quorlex {

void releaseScript::OpenScript(KfxReturnValue& result) { result = KFX_REL_SUCCESS; }

void releaseScript::CloseScript(KfxReturnValue& result) {
  documentData_.reset();
  clearLoggingTarget();
  result = KFX_REL_SUCCESS;
}

void releaseScript::setDocumentData(std::shared_ptr<IReleaseData> documentData) {
  documentData_ = std::move(documentData);
  setLoggingTarget(documentData_);
}

}  // namespace quorlex
