#pragma once
// Drives the release-script object as the host's release module does: DocumentData,
// OpenScript, ReleaseDoc for each document of the file in order, CloseScript.

#include <functional>
#include <string>

#include "gateway/http_request.h"
#include "testhost/memory_host.h"
#include "tools/host/host_file.h"

namespace quorlex::host {

struct ReleaseObserver {
  std::function<void(const HostEvent&)> hostEvent;                  // each LogError and SendMessage
  std::function<void(std::size_t, KfxReturnValue)> documentResult;  // 1-based document number
};

// The script's three methods, however the script is reached; its DocumentData is set.
struct ScriptCalls {
  std::function<void(KfxReturnValue&)> openScript;
  std::function<void(KfxReturnValue&)> releaseDoc;
  std::function<void(KfxReturnValue&)> closeScript;
};

// The in-memory host with the file's setup record, reporting its events to the observer.
void prepareHost(MemoryHost& host, const HostFile& file, const ReleaseObserver& observer);

// OpenScript, then ReleaseDoc with each document's values in the host, then CloseScript.
// True when every document was released.
bool driveBatch(const HostFile& file, MemoryHost& host, const ReleaseObserver& observer, const ScriptCalls& script);

// The batch through the release script linked into this program. True when every document
// was released.
bool releaseBatch(const HostFile& file, const ReleaseObserver& observer, HttpRequestFactory newRequest = createHttpRequest);

}  // namespace quorlex::host
