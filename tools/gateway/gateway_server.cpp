#include "tools/gateway/gateway_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorlex::gateway {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t lingerBytes = 64 * 1024 * 1024;
constexpr auto lingerTime = std::chrono::seconds(2);

class Socket {
 public:
  explicit Socket(int descriptor) : descriptor_(descriptor) {}
  ~Socket() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

// One client connection: reads into a buffer and writes, every wait bounded by a deadline
// and cut short by the server's stop.
class Connection {
 public:
  Connection(int socket, int stopSignal) : socket_(socket), stopSignal_(stopSignal) {}

  std::string buffer;

  // Appends what arrives next; false on time-out, end of stream, error or stop.
  bool receive(Clock::time_point deadline) {
    // Every segment is acknowledged at once (Linux clears this after each read). Wine's WinHTTP
    // writes a request's head and body separately; on a kept-alive connection Nagle holds the
    // body until the head is acknowledged, and a delayed acknowledgement cost 40 ms a post.
    int on = 1;
    (void)::setsockopt(socket_.get(), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
    if (!waitFor(POLLIN, deadline)) return false;
    char chunk[64 * 1024];
    ssize_t got = ::recv(socket_.get(), chunk, sizeof chunk, 0);
    if (got <= 0) return false;
    buffer.append(chunk, static_cast<std::size_t>(got));
    return true;
  }

  bool receiveAtLeast(std::size_t size, Clock::time_point deadline) {
    while (buffer.size() < size) {
      if (!receive(deadline)) return false;
    }
    return true;
  }

  bool sendAll(std::string_view data, Clock::time_point deadline) {
    while (!data.empty()) {
      if (!waitFor(POLLOUT, deadline)) return false;
      ssize_t sent = ::send(socket_.get(), data.data(), data.size(), MSG_NOSIGNAL);
      if (sent < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (sent <= 0) return false;
      data.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
  }

  // Closes the sending side and reads on for a while, so that a client still sending its
  // body gets to read the answer rather than a reset.
  void lingeringClose() {
    ::shutdown(socket_.get(), SHUT_WR);
    Clock::time_point deadline = Clock::now() + lingerTime;
    std::size_t drained = 0;
    while (drained < lingerBytes) {
      buffer.clear();
      if (!receive(deadline)) break;
      drained += buffer.size();
    }
  }

  bool timedOut() const { return timedOut_; }

 private:
  bool waitFor(short events, Clock::time_point deadline) {
    for (;;) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) {
        timedOut_ = true;
        return false;
      }
      pollfd watched[2] = {{socket_.get(), events, 0}, {stopSignal_, POLLIN, 0}};
      int ready = ::poll(watched, 2, static_cast<int>(left));
      if (ready < 0 && errno == EINTR) continue;
      if (ready < 0 || watched[1].revents) return false;
      if (ready > 0) return true;
    }
  }

  Socket socket_;
  int stopSignal_;
  bool timedOut_ = false;
};

bool expectsContinue(const RequestHead& head) {
  std::optional<std::string_view> expect = head.header("Expect");
  return expect && *expect == "100-continue";
}

// The target as it may stand in a log line.
std::string printable(std::string_view text) {
  std::string line;
  for (char c : text.substr(0, 200)) line.push_back(static_cast<unsigned char>(c) < 0x21 || c == 0x7F ? '?' : c);
  return line;
}

std::string clientName(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return std::string(text) + ":" + std::to_string(ntohs(address.sin_port));
}

}  // namespace

GatewayServer::GatewayServer(const GatewayService& service, ServerLimits limits,
                             std::function<void(const std::string&)> accessLog)
    : service_(service), limits_(limits), accessLog_(std::move(accessLog)) {}

GatewayServer::~GatewayServer() {
  for (int descriptor : {listener_, stopPipe_[0], stopPipe_[1]}) {
    if (descriptor >= 0) ::close(descriptor);
  }
}

bool GatewayServer::listen(int port, std::string& error) {
  if (::pipe2(stopPipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
    error = std::strerror(errno);
    return false;
  }
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  int reuse = 1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
      ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 128) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    error = std::strerror(errno);
    return false;
  }
  port_ = ntohs(address.sin_port);
  return true;
}

void GatewayServer::stop() {
  // Never drained: every poll that watches it wakes up and stays awake.
  (void)!::write(stopPipe_[1], "s", 1);
}

void GatewayServer::run() {
  for (;;) {
    pollfd watched[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (watched[1].revents) break;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    int socket = ::accept4(listener_, reinterpret_cast<sockaddr*>(&address), &length, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (socket < 0) continue;
    int on = 1;
    (void)::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::string client = clientName(address);

    std::lock_guard guard(lock_);
    reapFinished();
    if (workers_.size() >= limits_.maxConnections) {
      Connection refused(socket, stopPipe_[0]);
      (void)refused.sendAll(serializeResponse(connectionRejection(503, "The gateway has too many connections open")),
                            Clock::now() + std::chrono::milliseconds(100));
      continue;
    }
    Worker& worker = workers_.emplace_back();
    worker.thread = std::thread([this, socket, client, &worker] {
      serve(socket, client);
      worker.done = true;
    });
  }
  std::lock_guard guard(lock_);
  for (Worker& worker : workers_) worker.thread.join();
  workers_.clear();
}

void GatewayServer::reapFinished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (it->done) {
      it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void GatewayServer::serve(int socket, const std::string& client) {
  Connection connection(socket, stopPipe_[0]);
  auto answer = [&](const RequestHead& head, Response response, std::size_t bodyBytes) {
    if (!head.keepAlive()) response.close = true;
    bool sent = connection.sendAll(serializeResponse(response, head.minorVersion == 0 && !response.close),
                                   Clock::now() + limits_.timeout);
    if (accessLog_) {
      accessLog_(client + " " + printable(head.method) + " " + printable(head.target) + " " +
                 std::to_string(response.status) + " " + std::to_string(bodyBytes) + " bytes");
    }
    return sent && !response.close;
  };

  for (;;) {
    // The head: an idle connection may wait the whole time-out for it, and once it has begun
    // it must be complete within the time-out.
    RequestHead head;
    std::size_t headLength = 0;
    Clock::time_point deadline = Clock::now() + limits_.timeout;
    HeadStatus status;
    while ((status = parseRequestHead(connection.buffer, head, headLength)) == HeadStatus::Incomplete) {
      if (!connection.receive(deadline)) {
        if (connection.timedOut() && !connection.buffer.empty()) {
          (void)answer(head, connectionRejection(408, "The request did not arrive in time"), 0);
        }
        return;
      }
    }
    if (status != HeadStatus::Complete) {
      int code = status == HeadStatus::TooLarge ? 431 : 400;
      (void)answer(head, connectionRejection(code, code == 431 ? "The request head is too large" : "The request is malformed"), 0);
      connection.lingeringClose();
      return;
    }
    connection.buffer.erase(0, headLength);

    HeadVerdict verdict = service_.judgeHead(head);
    deadline = Clock::now() + limits_.timeout;
    Response response;
    if (verdict.rejection) {
      response = std::move(*verdict.rejection);
      if (!response.close) {
        if (!connection.receiveAtLeast(verdict.bodyLength, deadline)) return;
        connection.buffer.erase(0, verdict.bodyLength);
      }
    } else {
      if (expectsContinue(head) && !connection.sendAll("HTTP/1.1 100 Continue\r\n\r\n", deadline)) return;
      if (!connection.receiveAtLeast(verdict.bodyLength, deadline)) {
        if (connection.timedOut()) (void)answer(head, connectionRejection(408, "The body did not arrive in time"), 0);
        return;
      }
      response = service_.handleBody(head, std::string_view(connection.buffer).substr(0, verdict.bodyLength), client);
      connection.buffer.erase(0, verdict.bodyLength);
    }
    if (!answer(head, std::move(response), verdict.bodyLength)) {
      connection.lingeringClose();
      return;
    }
  }
}

}  // namespace quorlex::gateway
