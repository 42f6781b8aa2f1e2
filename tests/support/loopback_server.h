#pragma once
// A scripted HTTP peer on 127.0.0.1 for tests of the Linux request: it keeps every byte that
// each connection sends, cuts it into requests by their heads and Content-Length, and
// answers the n-th request with the n-th canned reply (raw bytes). An empty reply, or none
// left, closes that connection unanswered. POSIX only.

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorlex::test_support {

class LoopbackServer {
 public:
  explicit LoopbackServer(std::vector<std::string> replies = {});
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path = "/rpc/quorlex/") const;

  int connectionsAccepted() const;
  // Each request's bytes as they arrived, head and body; bytes a client sent between two
  // requests lead the later one.
  std::vector<std::string> requests() const;

 private:
  struct Connection {
    int socket = -1;
    std::string pending;
  };
  void run();
  void serve(Connection& connection);

  std::vector<std::string> replies_;
  int listener_ = -1;
  int wake_[2] = {-1, -1};
  int port_ = 0;
  mutable std::mutex lock_;
  int accepted_ = 0;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// An HTTP/1.1 reply with a body and its Content-Length.
std::string httpReply(int status, const std::string& reason, const std::string& body,
                      const std::string& extraHeaders = "");

}  // namespace quorlex::test_support
