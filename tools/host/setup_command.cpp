#include "tools/host/setup_command.h"

#include <optional>
#include <string>

#include "tools/host/host_file.h"
#include "tools/host/setup_options.h"
#include "tools/host/setup_run.h"

namespace quorlex::host {
namespace {

constexpr int failed = 2;

int failure(std::ostream& err, const std::string& message) {
  err << "quorlex-host: " << message << "\n";
  return failed;
}

}  // namespace

int runSetupCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
  std::string error;
  std::optional<SetupOptions> options = parseSetupOptions(arguments, error);
  if (!options) {
    err << "quorlex-host: " << error << "\n" << setupUsage;
    return failed;
  }
  if (options->help) {
    out << setupUsage;
    return 0;
  }
  std::optional<HostFile> file = loadHostFile(options->path, error);
  if (!file) return failure(err, error);
  SetupRecord record = setupRecord(*file);
  if (!options->changes.empty()) {
    std::optional<SetupRecord> applied = confirmSetup(record, options->changes, error);
    if (!applied) return failure(err, error);
    storeSetupSettings(*file, *applied);
    if (!saveHostFile(*file, error)) return failure(err, error);
    record = std::move(*applied);
  }
  if (options->show) out << describeSetup(record) << std::flush;
  return 0;
}

}  // namespace quorlex::host
