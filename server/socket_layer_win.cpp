#include "server/socket_layer_win.h"

#include <winsock2.h>

namespace quorlex {

int startSocketLayer() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(1, 1), &data);
}

void stopSocketLayer() { (void)WSACleanup(); }

}  // namespace quorlex
