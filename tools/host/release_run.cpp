#include "tools/host/release_run.h"

#include "release/release_script.h"

namespace quorlex::host {

void prepareHost(MemoryHost& host, const HostFile& file, const ReleaseObserver& observer) {
  host.record() = setupRecord(file);
  host.setEventObserver(observer.hostEvent);
}

bool driveBatch(const HostFile& file, MemoryHost& host, const ReleaseObserver& observer, const ScriptCalls& script) {
  KfxReturnValue result = KFX_REL_ERROR;
  script.openScript(result);
  bool opened = result == KFX_REL_SUCCESS;
  bool allReleased = opened;
  for (std::size_t index = 0; opened && index < documentCount(file); ++index) {
    host.setDocumentValues(documentValues(file, index));
    result = KFX_REL_ERROR;
    script.releaseDoc(result);
    host.clearEvents();  // each one has been seen as it happened
    if (observer.documentResult) observer.documentResult(index + 1, result);
    allReleased = allReleased && result == KFX_REL_SUCCESS;
  }
  script.closeScript(result);
  return allReleased;
}

bool releaseBatch(const HostFile& file, const ReleaseObserver& observer, HttpRequestFactory newRequest) {
  MemoryHost host;
  prepareHost(host, file, observer);
  releaseScript script(std::move(newRequest));
  script.setDocumentData(host.releaseData());
  return driveBatch(file, host, observer,
                    {[&](KfxReturnValue& result) { script.OpenScript(result); },
                     [&](KfxReturnValue& result) { script.ReleaseDoc(result); },
                     [&](KfxReturnValue& result) { script.CloseScript(result); }});
}

}  // namespace quorlex::host
