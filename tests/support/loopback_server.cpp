#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <list>
#include <stdexcept>

namespace quorlex::test_support {
namespace {

// The Content-Length of a request head, 0 when it has none.
std::size_t contentLength(const std::string& head) {
  std::string lower;
  for (char c : head) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
  std::size_t at = lower.find("\r\ncontent-length:");
  if (at == std::string::npos) return 0;
  return std::strtoul(head.c_str() + at + 17, nullptr, 10);
}

}  // namespace

LoopbackServer::LoopbackServer(std::vector<std::string> replies) : replies_(std::move(replies)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe(wake_) != 0) {
    throw std::runtime_error("loopback server: cannot listen");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { run(); });
}

LoopbackServer::~LoopbackServer() {
  (void)!::write(wake_[1], "x", 1);
  thread_.join();
  ::close(listener_);
  ::close(wake_[0]);
  ::close(wake_[1]);
}

std::string LoopbackServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int LoopbackServer::connectionsAccepted() const {
  std::lock_guard guard(lock_);
  return accepted_;
}

std::vector<std::string> LoopbackServer::requests() const {
  std::lock_guard guard(lock_);
  return requests_;
}

void LoopbackServer::run() {
  std::list<Connection> connections;
  for (;;) {
    std::vector<pollfd> watched{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    for (const Connection& connection : connections) watched.push_back({connection.socket, POLLIN, 0});
    if (::poll(watched.data(), watched.size(), -1) < 0) continue;
    if (watched[0].revents) break;
    if (watched[1].revents & POLLIN) {
      int socket = ::accept(listener_, nullptr, nullptr);
      if (socket >= 0) {
        connections.push_back(Connection{socket, {}});
        std::lock_guard guard(lock_);
        ++accepted_;
      }
    }
    std::size_t index = 2;
    for (auto it = connections.begin(); it != connections.end(); ++index) {
      if (index < watched.size() && watched[index].revents) {
        char buffer[65536];
        ssize_t got = ::recv(it->socket, buffer, sizeof buffer, 0);
        if (got > 0) {
          it->pending.append(buffer, static_cast<std::size_t>(got));
          serve(*it);
        }
        if (got <= 0 || it->socket < 0) {
          if (it->socket >= 0) ::close(it->socket);
          it = connections.erase(it);
          continue;
        }
      }
      ++it;
    }
  }
  for (Connection& connection : connections) ::close(connection.socket);
}

void LoopbackServer::serve(Connection& connection) {
  // A TLS handshake gets plain HTTP back, as from a server that speaks no TLS.
  if (!connection.pending.empty() && connection.pending[0] == '\x16') {
    std::string refusal = httpReply(400, "Bad Request", "");
    (void)!::send(connection.socket, refusal.data(), refusal.size(), MSG_NOSIGNAL);
    ::close(connection.socket);
    connection.socket = -1;
    return;
  }
  for (;;) {
    std::size_t headEnd = connection.pending.find("\r\n\r\n");
    if (headEnd == std::string::npos) return;
    std::size_t total = headEnd + 4 + contentLength(connection.pending.substr(0, headEnd + 2));
    if (connection.pending.size() < total) return;
    std::string reply;
    {
      std::lock_guard guard(lock_);
      requests_.push_back(connection.pending.substr(0, total));
      std::size_t number = requests_.size();
      if (number <= replies_.size()) reply = replies_[number - 1];
    }
    connection.pending.erase(0, total);
    if (reply.empty()) {
      ::close(connection.socket);
      connection.socket = -1;
      return;
    }
    (void)!::send(connection.socket, reply.data(), reply.size(), MSG_NOSIGNAL);
  }
}

std::string httpReply(int status, const std::string& reason, const std::string& body,
                      const std::string& extraHeaders) {
  return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n" + extraHeaders + "\r\n" + body;
}

}  // namespace quorlex::test_support
