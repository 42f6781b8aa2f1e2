#include "tools/host/release_run.h"

#include "release/release_script.h"

namespace quorlex::host {

bool releaseBatch(const HostFile& file, const ReleaseObserver& observer, HttpRequestFactory newRequest) {
  MemoryHost host;
  host.record() = setupRecord(file);
  host.setEventObserver(observer.hostEvent);

  releaseScript script(std::move(newRequest));
  script.setDocumentData(host.releaseData());
  KfxReturnValue result = KFX_REL_ERROR;
  script.OpenScript(result);
  bool opened = result == KFX_REL_SUCCESS;
  bool allReleased = opened;
  for (std::size_t index = 0; opened && index < documentCount(file); ++index) {
    host.setDocumentValues(documentValues(file, index));
    script.ReleaseDoc(result);
    host.clearEvents();  // each one has been seen as it happened
    if (observer.documentResult) observer.documentResult(index + 1, result);
    allReleased = allReleased && result == KFX_REL_SUCCESS;
  }
  script.CloseScript(result);
  return allReleased;
}

}  // namespace quorlex::host
