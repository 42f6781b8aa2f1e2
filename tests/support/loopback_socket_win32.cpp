#include <winsock2.h>

#include "tests/support/loopback_socket.h"

namespace quorlex::test_support::loopback_socket {
namespace {

// Winsock stays started for the life of the test program.
bool winsockStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

sockaddr_in loopbackAddress(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  return address;
}

SOCKET native(Handle socket) { return static_cast<SOCKET>(socket); }
Handle portable(SOCKET socket) { return socket == INVALID_SOCKET ? none : static_cast<Handle>(socket); }

}  // namespace

Handle listenOnLoopback(int& port) {
  if (!winsockStarted()) return none;
  SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return none;
  sockaddr_in address = loopbackAddress(0);
  int length = sizeof address;
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 16) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::closesocket(listener);
    return none;
  }
  port = ntohs(address.sin_port);
  return portable(listener);
}

Handle acceptConnection(Handle listener) { return portable(::accept(native(listener), nullptr, nullptr)); }

Handle connectToLoopback(int port) {
  if (!winsockStarted()) return none;
  SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket == INVALID_SOCKET) return none;
  sockaddr_in address = loopbackAddress(port);
  if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::closesocket(socket);
    return none;
  }
  return portable(socket);
}

long receiveSome(Handle socket, char* buffer, std::size_t size) {
  return ::recv(native(socket), buffer, static_cast<int>(size), 0);
}

void sendAll(Handle socket, std::string_view bytes) {
  while (!bytes.empty()) {
    int sent = ::send(native(socket), bytes.data(), static_cast<int>(bytes.size()), 0);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

void closeSocket(Handle socket) { ::closesocket(native(socket)); }

void resetSocket(Handle socket) {
  linger abort{1, 0};  // linger on, no time: the close sends RST
  (void)::setsockopt(native(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
  ::closesocket(native(socket));
}

bool waitUntilReadable(const std::vector<Handle>& sockets, std::vector<bool>& ready) {
  std::vector<WSAPOLLFD> watched;
  for (Handle socket : sockets) watched.push_back({native(socket), POLLRDNORM, 0});
  if (::WSAPoll(watched.data(), static_cast<ULONG>(watched.size()), -1) == SOCKET_ERROR) return false;
  ready.assign(sockets.size(), false);
  for (std::size_t i = 0; i < watched.size(); ++i) ready[i] = watched[i].revents != 0;
  return true;
}

}  // namespace quorlex::test_support::loopback_socket
