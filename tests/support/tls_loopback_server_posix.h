#pragma once
// A TLS peer on 127.0.0.1 for the Linux request: a certificate authority of its own and a
// server certificate for 127.0.0.1 signed by it, made with the openssl command when the peer
// starts; it answers each request with the one canned reply over TLS.

#include <atomic>
#include <string>
#include <thread>

namespace quorlex::test_support {

class TlsLoopbackServer {
 public:
  explicit TlsLoopbackServer(std::string reply);
  ~TlsLoopbackServer();
  TlsLoopbackServer(const TlsLoopbackServer&) = delete;
  TlsLoopbackServer& operator=(const TlsLoopbackServer&) = delete;

  // False when the certificates or the listening socket could not be made.
  bool ready() const { return ready_; }
  int port() const { return port_; }
  // The authority's certificate (PEM), for a client that is to trust the peer.
  const std::string& authorityFile() const { return authorityFile_; }
  int requestsAnswered() const { return answered_; }

 private:
  void run();

  std::string reply_;
  std::string folder_;
  std::string authorityFile_;
  bool ready_ = false;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> answered_{0};
  std::thread thread_;
};

}  // namespace quorlex::test_support
