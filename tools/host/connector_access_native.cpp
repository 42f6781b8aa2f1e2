// The connector linked into quorlex-host, its requests optionally made to fail, and the setup
// sheet's logic played without a window.
#include <cstdlib>
#include <optional>

#include "tools/host/connector_access.h"
#include "tools/host/request_faults.h"
#include "tools/host/setup_command.h"

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

int runSetup(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
  return runSetupCommand(arguments, out, err);
}

}  // namespace quorlex::host
