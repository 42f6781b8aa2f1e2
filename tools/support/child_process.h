#pragma once
// Runs the project's programs as child processes, for the end-to-end tests and the
// benchmarks: to completion with their output captured, or in the background with their
// standard output read line by line. POSIX only.

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quorlex::support {

struct ProcessResult {
  int exitStatus = -1;  // the exit code, or 128 + the signal that ended it
  std::string out;
  std::string err;
};

// extraEnvironment entries are NAME=VALUE, added to this process's environment.
ProcessResult runProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment = {});

class BackgroundProcess {
 public:
  // Standard error goes to errorFile (or nowhere when it is empty).
  explicit BackgroundProcess(const std::vector<std::string>& arguments, const std::string& errorFile = "");
  ~BackgroundProcess();
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // The next line of standard output, without its line break; none at its end or time-out.
  std::optional<std::string> readLine(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Ends it with SIGTERM and gives its exit status as runProcess does.
  int stop();

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  std::string pending_;
};

}  // namespace quorlex::support
