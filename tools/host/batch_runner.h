#pragma once
// How quorlex-host reaches the connector: linked in (Linux), or as a host reaches the
// component, over COM (Windows). One definition per build.

#include <string>

#include "tools/host/host_file.h"
#include "tools/host/release_run.h"

namespace quorlex::host {

enum class BatchOutcome { AllReleased, NotAllReleased, CannotRun };

// Releases the file's batch; error says why when the run could not start or stopped short.
BatchOutcome runBatch(const HostFile& file, const ReleaseObserver& observer, std::string& error);

}  // namespace quorlex::host
