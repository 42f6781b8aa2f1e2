// The connector linked into quorlex-host, its requests optionally made to fail.
#include <cstdlib>
#include <optional>

#include "tools/host/batch_runner.h"
#include "tools/host/request_faults.h"

namespace quorlex::host {

BatchOutcome runBatch(const HostFile& file, const ReleaseObserver& observer, std::string& error) {
  HttpRequestFactory requests = createHttpRequest;
  if (const char* faultText = std::getenv(requestFaultVariable)) {
    std::optional<RequestFault> fault = parseRequestFault(faultText, error);
    if (!fault) {
      error = std::string(requestFaultVariable) + ": " + error;
      return BatchOutcome::CannotRun;
    }
    requests = faultyRequests(requests, *fault);
  }
  return releaseBatch(file, observer, requests) ? BatchOutcome::AllReleased : BatchOutcome::NotAllReleased;
}

}  // namespace quorlex::host
