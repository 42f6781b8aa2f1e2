#include "tests/support/tls_loopback_server_posix.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace quorlex::test_support {
namespace {

struct ContextFree {
  void operator()(SSL_CTX* context) const { SSL_CTX_free(context); }
};
struct SessionFree {
  void operator()(SSL* session) const { SSL_free(session); }
};

// The authority, then the server's key and certificate for IP 127.0.0.1 signed by it.
bool makeCertificates(const std::string& folder) {
  std::string commands =
      "cd '" + folder + "' && "
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
      "-subj '/CN=Quorlex Test Authority' -addext basicConstraints=critical,CA:TRUE "
      "-addext keyUsage=critical,keyCertSign,cRLSign -keyout authority.key -out authority.pem && "
      "openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj '/CN=127.0.0.1' "
      "-keyout server.key -out server.csr && "
      "printf 'subjectAltName=IP:127.0.0.1\\nextendedKeyUsage=serverAuth\\n' > server.ext && "
      "openssl x509 -req -in server.csr -CA authority.pem -CAkey authority.key -CAcreateserial -days 2 "
      "-extfile server.ext -out server.pem";
  return std::system(("(" + commands + ") >/dev/null 2>&1").c_str()) == 0;
}

// Reads one request: its head and as many body bytes as its Content-Length says.
bool readRequest(SSL* session) {
  std::string received;
  char buffer[16384];
  for (;;) {
    std::size_t headEnd = received.find("\r\n\r\n");
    if (headEnd != std::string::npos) {
      std::size_t at = received.find("Content-Length: ");
      std::size_t length = at == std::string::npos ? 0 : std::strtoul(received.c_str() + at + 16, nullptr, 10);
      if (received.size() >= headEnd + 4 + length) return true;
    }
    int got = SSL_read(session, buffer, sizeof buffer);
    if (got <= 0) return false;
    received.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

TlsLoopbackServer::TlsLoopbackServer(std::string reply) : reply_(std::move(reply)) {
  char folder[] = "/tmp/quorlex-tls-XXXXXX";
  if (!mkdtemp(folder)) return;
  folder_ = folder;
  authorityFile_ = folder_ + "/authority.pem";
  if (!makeCertificates(folder_)) return;

  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 4) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return;
  }
  port_ = ntohs(address.sin_port);
  ready_ = true;
  thread_ = std::thread([this] { run(); });
}

// A connection of its own wakes the serving thread, which then sees that it is to stop.
TlsLoopbackServer::~TlsLoopbackServer() {
  if (thread_.joinable()) {
    stopping_ = true;
    int wake = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    (void)::connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof address);
    thread_.join();
    ::close(wake);
  }
  if (listener_ >= 0) ::close(listener_);
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

void TlsLoopbackServer::run() {
  std::unique_ptr<SSL_CTX, ContextFree> context(SSL_CTX_new(TLS_server_method()));
  if (!context || SSL_CTX_use_certificate_file(context.get(), (folder_ + "/server.pem").c_str(), SSL_FILETYPE_PEM) != 1 ||
      SSL_CTX_use_PrivateKey_file(context.get(), (folder_ + "/server.key").c_str(), SSL_FILETYPE_PEM) != 1) {
    return;
  }
  for (;;) {
    int socket = ::accept(listener_, nullptr, nullptr);
    if (stopping_) {
      if (socket >= 0) ::close(socket);
      return;
    }
    if (socket < 0) continue;
    std::unique_ptr<SSL, SessionFree> session(SSL_new(context.get()));
    // A client that does not trust the certificate ends the handshake: nothing to answer.
    if (session && SSL_set_fd(session.get(), socket) == 1 && SSL_accept(session.get()) == 1 &&
        readRequest(session.get())) {
      (void)SSL_write(session.get(), reply_.data(), static_cast<int>(reply_.size()));
      ++answered_;
      (void)SSL_shutdown(session.get());
    }
    ERR_clear_error();
    ::close(socket);
  }
}

}  // namespace quorlex::test_support
