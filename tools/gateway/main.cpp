// quorlex-gateway: stands in for the IBM i web gateway, so that integrators see what the
// connector sends. Listens on 127.0.0.1; the port it listens on is the first line it prints.
#include <signal.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "tools/gateway/gateway_server.h"
#include "tools/gateway/journal.h"

namespace {

using namespace quorlex::gateway;

constexpr std::string_view usage =
    "usage: quorlex-gateway [--port N] [--journal FILE] [--user NAME --password SECRET]\n"
    "                       [--fail STATUS[:DESCRIPTION] [--fail-body FILE]] [--max-body BYTES]\n"
    "                       [--timeout SECONDS] [--max-connections N] [--quiet]\n"
    "\n"
    "Accepts POST on http://127.0.0.1:PORT/rpc/quorlex/ with a multipart/form-data body,\n"
    "\"calls the exit program\" by appending one JSON line per post to the journal, and\n"
    "answers 200 with an XML reply. Rejections carry their reason in the reply's element\n"
    "with id statusDescription: 400 malformed body or no ExitProgramName, 401 credentials\n"
    "(with --user and --password, Basic), 404 another path, 405 another method, 411 no\n"
    "Content-Length, 413 past --max-body (default 16777216).\n"
    "  --port N          8080 unless given; 0 picks a free port. The port is printed first\n"
    "  --fail S[:TEXT]   reject every post with status S (201-599) and TEXT as its description\n"
    "  --fail-body FILE  with --fail: answer with this file as the reply body, as it stands\n"
    "  --timeout S       idle connections and slow requests are cut after S seconds (10)\n"
    "  --quiet           no access log on standard error\n"
    "Exit status 2 for a bad command line or a journal that cannot be opened, 1 when it\n"
    "cannot listen, 0 after SIGINT or SIGTERM.\n";

struct Options {
  int port = 8080;
  std::string journal;
  std::optional<std::string> user;
  std::optional<std::string> password;
  std::optional<std::string> failBodyFile;
  GatewayOptions gateway;
  ServerLimits limits;
  bool quiet = false;
};

template <typename Number>
bool parseNumber(std::string_view text, Number& value, Number low, Number high) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

bool parseFailure(std::string_view text, ForcedFailure& failure) {
  std::size_t colon = text.find(':');
  if (!parseNumber(text.substr(0, colon), failure.status, 201, 599)) return false;
  // These two statuses carry no body, so no description either.
  if (failure.status == 204 || failure.status == 304) return false;
  if (colon != std::string_view::npos && colon + 1 < text.size()) failure.description = std::string(text.substr(colon + 1));
  return true;
}

std::optional<std::string> readFile(const std::string& path) {
  // A folder opens as a stream on Linux and reads as nothing.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) return std::nullopt;
  return content.str();
}

constexpr std::string_view optionsWithValues[] = {"--port", "--journal", "--user", "--password", "--fail",
                                                  "--fail-body", "--max-body", "--timeout", "--max-connections"};

// Fills options; on a bad command line prints why and gives false.
bool parseOptions(int argc, char** argv, Options& options) {
  auto fail = [](const std::string& message) {
    std::cerr << "quorlex-gateway: " << message << "\n" << usage;
    return false;
  };
  for (int i = 1; i < argc; ++i) {
    std::string_view option = argv[i];
    if (option == "--help") {
      std::cout << usage;
      std::exit(0);
    }
    if (option == "--quiet") {
      options.quiet = true;
      continue;
    }
    if (std::find(std::begin(optionsWithValues), std::end(optionsWithValues), option) == std::end(optionsWithValues)) {
      return fail("unknown option " + std::string(option));
    }
    if (i + 1 >= argc) return fail("the option " + std::string(option) + " needs a value");
    std::string value = argv[++i];
    std::size_t number = 0;
    if (option == "--port") {
      if (!parseNumber(value, options.port, 0, 65535)) return fail("--port takes a number from 0 to 65535");
    } else if (option == "--journal") {
      options.journal = value;
    } else if (option == "--user") {
      options.user = value;
    } else if (option == "--password") {
      options.password = value;
    } else if (option == "--fail") {
      ForcedFailure failure;
      if (!parseFailure(value, failure)) return fail("--fail takes STATUS[:DESCRIPTION] with a status from 201 to 599");
      options.gateway.failure = failure;
    } else if (option == "--fail-body") {
      options.failBodyFile = value;
    } else if (option == "--max-body") {
      if (!parseNumber<std::size_t>(value, number, 0, std::size_t{1} << 40)) return fail("--max-body takes a byte count");
      options.gateway.maxBodyBytes = number;
    } else if (option == "--timeout") {
      if (!parseNumber<std::size_t>(value, number, 1, 86400)) return fail("--timeout takes seconds, from 1 to 86400");
      options.limits.timeout = std::chrono::seconds(number);
    } else if (option == "--max-connections") {
      if (!parseNumber<std::size_t>(value, number, 1, 10000)) return fail("--max-connections takes a number from 1");
      options.limits.maxConnections = number;
    }
  }
  if (options.user.has_value() != options.password.has_value()) return fail("--user and --password go together");
  if (options.user) options.gateway.credentials = Credentials{*options.user, *options.password};
  if (options.failBodyFile) {
    if (!options.gateway.failure) return fail("--fail-body needs --fail");
    std::optional<std::string> body = readFile(*options.failBodyFile);
    if (!body) return fail("cannot read " + *options.failBodyFile);
    options.gateway.failure->body = std::move(*body);
  }
  return true;
}

GatewayServer* runningServer = nullptr;

void stopOnSignal(int) {
  if (runningServer) runningServer->stop();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) return 2;

  Journal journal;
  std::string error;
  // A journal that cannot be opened is a bad command line too: nothing has been served yet.
  if (!options.journal.empty() && !journal.open(options.journal, error)) {
    std::cerr << "quorlex-gateway: cannot open the journal " << options.journal << ": " << error << "\n";
    return 2;
  }
  GatewayService service(options.gateway, [&journal](const ExitProgramCall& call) { return journal.append(call); });
  std::mutex logLock;
  auto accessLog = [&](const std::string& line) {
    if (options.quiet) return;
    std::lock_guard guard(logLock);
    std::cerr << line << std::endl;
  };
  GatewayServer server(service, options.limits, accessLog);
  if (!server.listen(options.port, error)) {
    std::cerr << "quorlex-gateway: cannot listen on 127.0.0.1:" << options.port << ": " << error << "\n";
    return 1;
  }

  runningServer = &server;
  struct sigaction action {};
  action.sa_handler = stopOnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  std::cout << server.port() << std::endl;
  if (!options.quiet) {
    std::cerr << "quorlex-gateway: listening on http://127.0.0.1:" << server.port() << "/rpc/quorlex/" << std::endl;
  }
  server.run();
  runningServer = nullptr;
  return 0;
}
