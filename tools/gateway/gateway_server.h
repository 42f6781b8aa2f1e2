#pragma once
// The emulator's listener on 127.0.0.1: one thread per connection, kept-alive connections,
// every wait bounded by the time-out, and a stop that ends them all. POSIX sockets.

#include <atomic>
#include <chrono>
#include <functional>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "tools/gateway/gateway_service.h"

namespace quorlex::gateway {

struct ServerLimits {
  // How long a connection may sit idle, and how long one request may take to arrive.
  std::chrono::milliseconds timeout{10000};
  std::size_t maxConnections = 64;
};

class GatewayServer {
 public:
  // accessLog gets one line per answered request, from the connection's thread.
  GatewayServer(const GatewayService& service, ServerLimits limits, std::function<void(const std::string&)> accessLog);
  ~GatewayServer();
  GatewayServer(const GatewayServer&) = delete;
  GatewayServer& operator=(const GatewayServer&) = delete;

  // Binds 127.0.0.1 on the port (0: a free one); false with the reason in error.
  bool listen(int port, std::string& error);
  int port() const { return port_; }
  // Serves until stop; returns when every connection has ended.
  void run();
  // From any thread, or from a signal handler.
  void stop();

 private:
  struct Worker {
    std::thread thread;
    std::atomic<bool> done{false};
  };
  void serve(int socket, const std::string& client);
  void reapFinished();

  const GatewayService& service_;
  ServerLimits limits_;
  std::function<void(const std::string&)> accessLog_;
  int listener_ = -1;
  int stopPipe_[2] = {-1, -1};
  int port_ = 0;
  std::mutex lock_;
  std::list<Worker> workers_;
};

}  // namespace quorlex::gateway
