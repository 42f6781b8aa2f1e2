#include "tests/support/loopback_server.h"

#include <chrono>
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

namespace {

std::vector<ScriptedReply> sentAtOnce(const std::vector<std::string>& replies) {
  std::vector<ScriptedReply> scripted;
  for (const std::string& reply : replies) {
    scripted.push_back(reply.empty() ? ScriptedReply{} : ScriptedReply{{ReplyStep::Kind::Send, reply}});
  }
  return scripted;
}

}  // namespace

LoopbackServer::LoopbackServer(std::vector<std::string> replies) : LoopbackServer(sentAtOnce(replies)) {}

LoopbackServer::LoopbackServer(std::vector<ScriptedReply> replies) : replies_(std::move(replies)) {
  listener_ = loopback_socket::listenOnLoopback(port_);
  if (listener_ == loopback_socket::none) throw std::runtime_error("loopback server: cannot listen");
  thread_ = std::thread([this] { run(); });
}

// A connection of its own wakes the serving thread, which then sees that it is to stop.
LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  loopback_socket::Handle wake = loopback_socket::connectToLoopback(port_);
  thread_.join();
  if (wake != loopback_socket::none) loopback_socket::closeSocket(wake);
  loopback_socket::closeSocket(listener_);
}

std::string LoopbackServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int LoopbackServer::connectionsAccepted() const {
  std::lock_guard guard(lock_);
  return static_cast<int>(streams_.size());
}

std::optional<std::string> LoopbackServer::connectionBytes(std::size_t connection) const {
  std::unique_lock guard(lock_);
  bool closed = streamClosed_.wait_for(guard, std::chrono::seconds(10), [&] {
    return connection < streams_.size() && streams_[connection].closed;
  });
  if (!closed) return std::nullopt;
  return streams_[connection].bytes;
}

std::vector<std::string> LoopbackServer::requests() const {
  std::lock_guard guard(lock_);
  return requests_;
}

void LoopbackServer::run() {
  std::list<Connection> connections;
  std::vector<bool> ready;
  for (;;) {
    std::vector<loopback_socket::Handle> watched{listener_};
    for (const Connection& connection : connections) watched.push_back(connection.socket);
    if (!loopback_socket::waitUntilReadable(watched, ready)) continue;
    if (stopping_) break;
    if (ready[0]) {
      loopback_socket::Handle socket = loopback_socket::acceptConnection(listener_);
      if (socket != loopback_socket::none) {
        std::lock_guard guard(lock_);
        connections.push_back(Connection{socket, streams_.size(), {}});
        streams_.emplace_back();
      }
    }
    std::size_t index = 1;
    for (auto it = connections.begin(); it != connections.end(); ++index) {
      if (index < watched.size() && ready[index]) {
        char buffer[65536];
        long got = loopback_socket::receiveSome(it->socket, buffer, sizeof buffer);
        if (got > 0) {
          {
            std::lock_guard guard(lock_);
            streams_[it->number].bytes.append(buffer, static_cast<std::size_t>(got));
          }
          it->pending.append(buffer, static_cast<std::size_t>(got));
          serve(*it);
        }
        if (got <= 0 || it->socket == loopback_socket::none) {
          if (it->socket != loopback_socket::none) loopback_socket::closeSocket(it->socket);
          std::lock_guard guard(lock_);
          streams_[it->number].closed = true;
          streamClosed_.notify_all();
          it = connections.erase(it);
          continue;
        }
      }
      ++it;
    }
  }
  for (Connection& connection : connections) loopback_socket::closeSocket(connection.socket);
}

void LoopbackServer::serve(Connection& connection) {
  // A TLS handshake gets plain HTTP back, as from a server that speaks no TLS.
  if (!connection.pending.empty() && connection.pending[0] == '\x16') {
    loopback_socket::sendAll(connection.socket, httpReply(400, "Bad Request", ""));
    loopback_socket::closeSocket(connection.socket);
    connection.socket = loopback_socket::none;
    return;
  }
  for (;;) {
    std::size_t headEnd = connection.pending.find("\r\n\r\n");
    if (headEnd == std::string::npos) return;
    std::size_t total = headEnd + 4 + contentLength(connection.pending.substr(0, headEnd + 2));
    if (connection.pending.size() < total) return;
    ScriptedReply reply;
    {
      std::lock_guard guard(lock_);
      requests_.push_back(connection.pending.substr(0, total));
      std::size_t number = requests_.size();
      if (number <= replies_.size()) reply = replies_[number - 1];
    }
    connection.pending.erase(0, total);
    if (reply.empty()) reply.push_back({ReplyStep::Kind::Close, ""});
    if (!play(connection, reply)) {
      connection.socket = loopback_socket::none;
      return;
    }
  }
}

bool LoopbackServer::play(Connection& connection, const ScriptedReply& reply) {
  for (const ReplyStep& step : reply) {
    switch (step.kind) {
      case ReplyStep::Kind::Send:
        loopback_socket::sendAll(connection.socket, step.bytes);
        break;
      case ReplyStep::Kind::Drip:
        for (char byte : step.bytes) {
          loopback_socket::sendAll(connection.socket, std::string_view(&byte, 1));
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        break;
      case ReplyStep::Kind::Repeat:
        for (std::size_t i = 0; i < step.times; ++i) loopback_socket::sendAll(connection.socket, step.bytes);
        break;
      case ReplyStep::Kind::Close:
        loopback_socket::closeSocket(connection.socket);
        return false;
      case ReplyStep::Kind::Reset:
        loopback_socket::resetSocket(connection.socket);
        return false;
    }
  }
  return true;
}

std::string httpReply(int status, const std::string& reason, const std::string& body,
                      const std::string& extraHeaders) {
  return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n" + extraHeaders + "\r\n" + body;
}

}  // namespace quorlex::test_support
