#pragma once
// Drives the release-script object as the host's release module does: DocumentData,
// OpenScript, ReleaseDoc for each document of the file in order, CloseScript.

#include <functional>
#include <string>

#include "gateway/http_request.h"
#include "server/memory_host.h"
#include "tools/host/host_file.h"

namespace quorlex::host {

struct ReleaseObserver {
  std::function<void(const HostEvent&)> hostEvent;                  // each LogError and SendMessage
  std::function<void(std::size_t, KfxReturnValue)> documentResult;  // 1-based document number
};

// True when every document was released.
bool releaseBatch(const HostFile& file, const ReleaseObserver& observer, HttpRequestFactory newRequest = createHttpRequest);

}  // namespace quorlex::host
