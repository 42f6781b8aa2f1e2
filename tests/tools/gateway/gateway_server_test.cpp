// The emulator's listener against raw client sockets: kept-alive connections, several at
// once, time-outs, and input that no client should send.
#include "tools/gateway/gateway_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "tests/support/form_posting.h"
#include "tests/support/table_rows.h"

namespace quorlex::gateway {
namespace {

using test_support::PrintTo;


std::string post(const std::string& body, const std::string& extraHeaders = "") {
  return "POST /rpc/quorlex/ HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-type: multipart/form-data; boundary=" + test_support::formBoundary +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + extraHeaders + "\r\n" + body;
}

const std::string goodBody = test_support::formPart("ExitProgramName", "PGM") + test_support::formClose;

class Client {
 public:
  explicit Client(int port) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    connected_ = ::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Client() { ::close(socket_); }

  bool connected() const { return connected_; }
  void send(const std::string& data) { ASSERT_EQ(::send(socket_, data.data(), data.size(), MSG_NOSIGNAL), static_cast<ssize_t>(data.size())); }

  // The next whole response (head and Content-Length body); empty when the server closed.
  std::string response() {
    for (;;) {
      std::size_t headEnd = pending_.find("\r\n\r\n");
      if (headEnd != std::string::npos) {
        std::size_t at = pending_.find("Content-Length: ");
        std::size_t length = at < headEnd ? std::stoul(pending_.substr(at + 16)) : 0;
        if (pending_.starts_with("HTTP/1.1 100")) length = 0;
        if (pending_.size() >= headEnd + 4 + length) {
          std::string whole = pending_.substr(0, headEnd + 4 + length);
          pending_.erase(0, whole.size());
          return whole;
        }
      }
      if (!receive()) return {};
    }
  }

  // True when the server closes the connection with nothing more to say.
  bool closedByServer() { return pending_.empty() && !receive() && pending_.empty(); }

 private:
  bool receive() {
    pollfd watched{socket_, POLLIN, 0};
    if (::poll(&watched, 1, 10000) <= 0) return false;
    char buffer[65536];
    ssize_t got = ::recv(socket_, buffer, sizeof buffer, 0);
    if (got <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  int socket_;
  bool connected_ = false;
  std::string pending_;
};

int statusOf(const std::string& response) { return response.size() > 12 ? std::stoi(response.substr(9, 3)) : 0; }

class GatewayListener : public ::testing::Test {
 protected:
  void start(ServerLimits limits = {}, GatewayOptions options = {}) {
    service_ = std::make_unique<GatewayService>(options, [this](const ExitProgramCall& call) {
      std::lock_guard guard(lock_);
      calls_.push_back(call);
      return true;
    });
    server_ = std::make_unique<GatewayServer>(*service_, limits, nullptr);
    std::string error;
    ASSERT_TRUE(server_->listen(0, error)) << error;
    thread_ = std::thread([this] { server_->run(); });
  }
  void TearDown() override {
    if (server_) server_->stop();
    if (thread_.joinable()) thread_.join();
  }
  std::vector<ExitProgramCall> calls() {
    std::lock_guard guard(lock_);
    return calls_;
  }
  int port() const { return server_->port(); }

  std::unique_ptr<GatewayService> service_;
  std::unique_ptr<GatewayServer> server_;
  std::thread thread_;
  std::mutex lock_;
  std::vector<ExitProgramCall> calls_;
};

TEST_F(GatewayListener, KeepsTheConnectionAndTakesPipelinedPosts) {
  start();
  Client client(port());
  ASSERT_TRUE(client.connected());
  client.send(post(goodBody) + post(goodBody));
  EXPECT_EQ(statusOf(client.response()), 200);
  EXPECT_EQ(statusOf(client.response()), 200);
  client.send(post(goodBody));
  EXPECT_EQ(statusOf(client.response()), 200);
  ASSERT_EQ(calls().size(), 3u);
  EXPECT_EQ(calls()[0].client, calls()[2].client);
}

TEST_F(GatewayListener, NotesStrayBytesBetweenPosts) {
  start();
  Client client(port());
  client.send(post(goodBody) + "\r\n\r\n" + post(goodBody));
  EXPECT_EQ(statusOf(client.response()), 200);
  EXPECT_EQ(statusOf(client.response()), 200);
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_EQ(calls()[0].strayBytes, 0u);
  EXPECT_EQ(calls()[1].strayBytes, 4u);
}

TEST_F(GatewayListener, ServesOneClientWhileAnotherIsHalfWay) {
  start();
  Client slow(port());
  slow.send("POST /rpc/quorlex/ HTTP/1.1\r\nHost: 127.0.0.1\r\n");
  Client quick(port());
  quick.send(post(goodBody));
  EXPECT_EQ(statusOf(quick.response()), 200);
  slow.send("Content-type: multipart/form-data; boundary=" + test_support::formBoundary + "\r\nContent-Length: " +
            std::to_string(goodBody.size()) + "\r\n\r\n" + goodBody);
  EXPECT_EQ(statusOf(slow.response()), 200);
}

TEST_F(GatewayListener, CutsIdleAndSlowClients) {
  start(ServerLimits{std::chrono::milliseconds(200), 64});
  Client idle(port());
  Client slow(port());
  slow.send("POST /rpc/quorlex/ HTTP/1.1\r\n");
  EXPECT_TRUE(idle.closedByServer());
  std::string timedOut = slow.response();
  EXPECT_EQ(statusOf(timedOut), 408);
  EXPECT_NE(timedOut.find("Connection: close"), std::string::npos);
}

TEST_F(GatewayListener, ContinuesAfterExpectAndClosesAfterHttp10) {
  start();
  // The head announces the body's length; the body follows the interim answer.
  Client expecting(port());
  std::string head = "POST /rpc/quorlex/ HTTP/1.0\r\nContent-type: multipart/form-data; boundary=" + test_support::formBoundary +
                     "\r\nContent-Length: " + std::to_string(goodBody.size()) + "\r\nExpect: 100-continue\r\n\r\n";
  expecting.send(head);
  EXPECT_EQ(statusOf(expecting.response()), 100);
  expecting.send(goodBody);
  EXPECT_EQ(statusOf(expecting.response()), 200);
  EXPECT_TRUE(expecting.closedByServer());
}

TEST_F(GatewayListener, AnswersATooLargeBodyBeforeReadingIt) {
  GatewayOptions options;
  options.maxBodyBytes = 100;
  start({}, options);
  Client client(port());
  client.send(post(std::string(5000, 'x')));
  std::string response = client.response();
  EXPECT_EQ(statusOf(response), 413);
  EXPECT_NE(response.find("Connection: close"), std::string::npos);
}

struct BadInputCase {
  const char* name;
  std::string input;
  int status;
};

class GatewayListenerBadInput : public GatewayListener, public ::testing::WithParamInterface<BadInputCase> {};

TEST_P(GatewayListenerBadInput, AnswersAndCloses) {
  start();
  Client client(port());
  client.send(GetParam().input);
  std::string response = client.response();
  EXPECT_EQ(statusOf(response), GetParam().status);
  EXPECT_TRUE(client.closedByServer());
  // The server is still there for the next client.
  Client next(port());
  next.send(post(goodBody));
  EXPECT_EQ(statusOf(next.response()), 200);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GatewayListenerBadInput,
    ::testing::Values(BadInputCase{"tls_handshake", std::string("\x16\x03\x01\x00\xA5\x01\x00\x00\xA1\x03\x03\r\n\r\n", 15), 400},
                      BadInputCase{"bare_line_feeds", "POST /rpc/quorlex/ HTTP/1.1\nHost: x\n\n", 400},
                      BadInputCase{"huge_head", "POST /rpc/quorlex/ HTTP/1.1\r\nX: " + std::string(40000, 'a'), 431},
                      BadInputCase{"chunked_body", "POST /rpc/quorlex/ HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 411},
                      BadInputCase{"negative_length", "POST /rpc/quorlex/ HTTP/1.1\r\nContent-Length: -5\r\n\r\n", 400},
                      BadInputCase{"closing_client", post(goodBody, "Connection: close\r\n"), 200}),
    [](const auto& info) { return info.param.name; });

TEST_F(GatewayListener, RefusesConnectionsPastTheLimit) {
  start(ServerLimits{std::chrono::milliseconds(10000), 1});
  Client first(port());
  first.send("POST");  // holds its connection open
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  Client second(port());
  EXPECT_EQ(statusOf(second.response()), 503);
}

TEST_F(GatewayListener, StopEndsOpenConnections) {
  start();
  Client idle(port());
  idle.send("POST /rpc/quorlex/ HTTP/1.1\r\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  server_->stop();
  thread_.join();  // returns although a connection is open
  EXPECT_TRUE(idle.closedByServer());
}

}  // namespace
}  // namespace quorlex::gateway
