#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/loopback_socket.h"

namespace quorlex::test_support::loopback_socket {
namespace {

sockaddr_in loopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

}  // namespace

Handle listenOnLoopback(int& port) {
  int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listener < 0) return none;
  sockaddr_in address = loopbackAddress(0);
  socklen_t length = sizeof address;
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listener);
    return none;
  }
  port = ntohs(address.sin_port);
  return listener;
}

Handle acceptConnection(Handle listener) {
  int socket = ::accept(static_cast<int>(listener), nullptr, nullptr);
  return socket < 0 ? none : socket;
}

Handle connectToLoopback(int port) {
  int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  if (socket < 0) return none;
  sockaddr_in address = loopbackAddress(port);
  if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(socket);
    return none;
  }
  return socket;
}

long receiveSome(Handle socket, char* buffer, std::size_t size) {
  return static_cast<long>(::recv(static_cast<int>(socket), buffer, size, 0));
}

void sendAll(Handle socket, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t sent = ::send(static_cast<int>(socket), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

void closeSocket(Handle socket) { ::close(static_cast<int>(socket)); }

void resetSocket(Handle socket) {
  linger abort{1, 0};  // linger on, no time: the close sends RST
  (void)::setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  ::close(static_cast<int>(socket));
}

bool waitUntilReadable(const std::vector<Handle>& sockets, std::vector<bool>& ready) {
  std::vector<pollfd> watched;
  for (Handle socket : sockets) watched.push_back({static_cast<int>(socket), POLLIN, 0});
  if (::poll(watched.data(), watched.size(), -1) < 0) return false;
  ready.assign(sockets.size(), false);
  for (std::size_t i = 0; i < watched.size(); ++i) ready[i] = watched[i].revents != 0;
  return true;
}

}  // namespace quorlex::test_support::loopback_socket
