#pragma once
// How quorlex-host reaches the connector: linked in (Linux), or as a host reaches the
// component, over COM (Windows). One definition per build.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "tools/host/host_file.h"
#include "tools/host/release_run.h"

namespace quorlex::host {

enum class BatchOutcome { AllReleased, NotAllReleased, CannotRun };

// Releases the file's batch; error says why when the run could not start or stopped short.
BatchOutcome runBatch(const HostFile& file, const ReleaseObserver& observer, std::string& error);

// The setup command with the arguments after "setup"; its exit status.
int runSetup(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

}  // namespace quorlex::host
