#pragma once
// A scripted HTTP peer on 127.0.0.1 for tests of the request objects: it keeps every byte that
// each connection sends, cuts it into requests by their heads and Content-Length, and
// answers the n-th request with the n-th canned reply (raw bytes), or plays the n-th scripted
// reply step by step (bytes at once or a byte at a time, a long run of bytes, an orderly close
// or a reset). An empty reply, or none left, closes that connection unanswered.

#include <atomic>
#include <condition_variable>
#include <optional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_socket.h"

namespace quorlex::test_support {

// One step of a scripted reply.
struct ReplyStep {
  enum class Kind {
    Send,    // the bytes at once
    Drip,    // the bytes one at a time, 100 ms apart
    Repeat,  // the bytes `times` times over
    Close,   // an orderly end of the connection (FIN)
    Reset,   // the connection reset (RST)
  };
  Kind kind = Kind::Send;
  std::string bytes;
  std::size_t times = 1;
};
using ScriptedReply = std::vector<ReplyStep>;

class LoopbackServer {
 public:
  explicit LoopbackServer(std::vector<std::string> replies = {});
  explicit LoopbackServer(std::vector<ScriptedReply> replies);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  std::string url(const std::string& path = "/rpc/quorlex/") const;

  int connectionsAccepted() const;
  // Each request's bytes as they arrived, head and body; bytes a client sent between two
  // requests lead the later one.
  std::vector<std::string> requests() const;
  // Every byte the client sent on the n-th connection (0-based), once either side has closed
  // it; none when it is still open after ten seconds.
  std::optional<std::string> connectionBytes(std::size_t connection) const;

 private:
  struct Connection {
    loopback_socket::Handle socket = loopback_socket::none;
    std::size_t number = 0;
    std::string pending;
  };
  struct Stream {
    std::string bytes;
    bool closed = false;
  };
  void run();
  void serve(Connection& connection);
  // Plays the reply; false when it ended the connection.
  static bool play(Connection& connection, const ScriptedReply& reply);

  std::vector<ScriptedReply> replies_;
  loopback_socket::Handle listener_ = loopback_socket::none;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex lock_;
  mutable std::condition_variable streamClosed_;
  std::vector<Stream> streams_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// An HTTP/1.1 reply with a body and its Content-Length.
std::string httpReply(int status, const std::string& reason, const std::string& body,
                      const std::string& extraHeaders = "");

}  // namespace quorlex::test_support
