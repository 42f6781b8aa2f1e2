// quorlex-host: the reference host. It plays the host's release module against the
// connector, and its administration module against the setup: the setup record and the
// documents of a batch come from a host file.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/host/connector_access.h"
#include "tools/host/event_printer.h"
#include "tools/host/host_file.h"
#include "tools/host/setup_options.h"

namespace {

using namespace quorlex;
using namespace quorlex::host;

constexpr std::string_view usage =
    "usage: quorlex-host release FILE [--json]\n"
    "\n"
    "Releases every document of the host file FILE through the connector, as the host's\n"
    "release module would, and prints each log entry, message and document result as it\n"
    "happens (with --json, one JSON object a line). Exit status: 0 when every document was\n"
    "released, 1 when any was not, 2 for a bad command line or host file.\n";

int badCommandLine(const std::string& message, bool withSetup = false) {
  std::cerr << "quorlex-host: " << message << "\n" << usage;
  if (withSetup) std::cerr << "\n" << setupUsage;
  return 2;
}

int release(const std::string& path, EventFormat format) {
  std::string error;
  std::optional<HostFile> file = loadHostFile(path, error);
  if (!file) {
    std::cerr << "quorlex-host: " << error << "\n";
    return 2;
  }
  ReleaseObserver observer;
  observer.hostEvent = [format](const HostEvent& event) { std::cout << eventLine(event, format) << std::endl; };
  observer.documentResult = [format](std::size_t document, KfxReturnValue result) {
    std::cout << releasedLine(document, result, format) << std::endl;
  };
  BatchOutcome outcome = runBatch(*file, observer, error);
  if (!error.empty()) std::cerr << "quorlex-host: " << error << "\n";
  switch (outcome) {
    case BatchOutcome::AllReleased:
      return 0;
    case BatchOutcome::NotAllReleased:
      return 1;
    case BatchOutcome::CannotRun:
      break;
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "help")) {
    std::cout << usage << "\n" << setupUsage;
    return 0;
  }
  if (argc < 2) return badCommandLine("no command given", true);
  std::string_view command = argv[1];
  if (command == "setup") {
    std::vector<std::string_view> arguments(argv + 2, argv + argc);
    return runSetup(arguments, std::cout, std::cerr);
  }
  if (command != "release") return badCommandLine("unknown command \"" + std::string(command) + "\"", true);

  std::optional<std::string> path;
  EventFormat format = EventFormat::Text;
  for (int i = 2; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--json") {
      format = EventFormat::Json;
    } else if (argument.starts_with("--") || path) {
      return badCommandLine("unexpected argument \"" + std::string(argument) + "\"");
    } else {
      path = std::string(argument);
    }
  }
  if (!path) return badCommandLine("release needs a host file");
  return release(*path, format);
}
