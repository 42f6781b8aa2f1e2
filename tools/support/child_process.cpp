#include "tools/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace quorlex::support {
namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) == 0) {
      read = ends[0];
      write = ends[1];
    }
  }
};

std::vector<char*> pointers(std::vector<std::string>& texts) {
  std::vector<char*> list;
  for (std::string& text : texts) list.push_back(text.data());
  list.push_back(nullptr);
  return list;
}

pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment,
            posix_spawn_file_actions_t& actions) {
  std::vector<std::string> argumentTexts = arguments;
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) environment.emplace_back(*entry);
  environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> argv = pointers(argumentTexts);
  std::vector<char*> envp = pointers(environment);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

int waitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnvironment) {
  ProcessResult result;
  Pipe out;
  Pipe err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
  pid_t pid = spawn(arguments, extraEnvironment, actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out.write);
  ::close(err.write);
  pollfd watched[2] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = pid > 0 ? 2 : 0;
  while (open > 0) {
    if (::poll(watched, 2, -1) < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (watched[i].fd < 0 || !watched[i].revents) continue;
      char buffer[4096];
      ssize_t got = ::read(watched[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        watched[i].fd = -1;
        --open;
      }
    }
  }
  ::close(out.read);
  ::close(err.read);
  if (pid > 0) result.exitStatus = waitFor(pid);
  return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& arguments, const std::string& errorFile) {
  Pipe out;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.empty() ? "/dev/null" : errorFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_ = spawn(arguments, {}, actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out.write);
  output_ = out.read;
}

BackgroundProcess::~BackgroundProcess() {
  (void)stop();
  if (output_ >= 0) ::close(output_);
}

std::optional<std::string> BackgroundProcess::readLine(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || output_ < 0) return std::nullopt;
    pollfd watched{output_, POLLIN, 0};
    if (::poll(&watched, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    ssize_t got = ::read(output_, buffer, sizeof buffer);
    if (got <= 0) return std::nullopt;
    pending_.append(buffer, static_cast<std::size_t>(got));
  }
}

int BackgroundProcess::stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = waitFor(pid_);
  pid_ = -1;
  return status;
}

}  // namespace quorlex::support
