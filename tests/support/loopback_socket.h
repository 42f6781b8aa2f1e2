#pragma once
// The few socket calls the loopback server makes, over POSIX sockets or Winsock.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorlex::test_support::loopback_socket {

using Handle = std::intptr_t;
inline constexpr Handle none = -1;

// A listening socket on 127.0.0.1 and a free port, or none.
Handle listenOnLoopback(int& port);
Handle acceptConnection(Handle listener);
// A connection to 127.0.0.1:port, or none.
Handle connectToLoopback(int port);
// The bytes read (0 at the peer's end, negative on failure).
long receiveSome(Handle socket, char* buffer, std::size_t size);
// As much of the bytes as the peer takes.
void sendAll(Handle socket, std::string_view bytes);
void closeSocket(Handle socket);
// Closes the connection with a reset (RST) instead of an orderly end.
void resetSocket(Handle socket);
// Blocks until at least one of the sockets can be read (or has ended); ready tells which.
bool waitUntilReadable(const std::vector<Handle>& sockets, std::vector<bool>& ready);

}  // namespace quorlex::test_support::loopback_socket
