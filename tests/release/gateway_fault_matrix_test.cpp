// The gateway fault matrix through ReleaseDoc on the Linux request (libcurl): every case of
// tests/support/gateway_fault_cases.h against its scripted peer on 127.0.0.1, and TLS to a
// peer whose certificate comes from a private authority.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "release/host_log.h"
#include "release/release_script.h"
#include "tests/support/gateway_fault_cases.h"
#include "tests/support/tls_loopback_server_posix.h"

namespace quorlex {
namespace {

using test_support::GatewayFaultCase;

// On a thread of its own, as a process's first document: the request keeps its thread's
// connections and the authentication a server asked for, and no case may inherit another's.
KfxReturnValue releaseDocument(MemoryHost& host) {
  KfxReturnValue result = KFX_REL_SUCCESS;
  std::thread([&] {
    releaseScript script;
    script.setDocumentData(host.releaseData());
    script.ReleaseDoc(result);
    clearLoggingTarget();
  }).join();
  return result;
}

class GatewayFault : public ::testing::TestWithParam<GatewayFaultCase> {};

TEST_P(GatewayFault, IsLoggedExactlyAndNeverReleased) { test_support::checkGatewayFault(GetParam(), releaseDocument); }

INSTANTIATE_TEST_SUITE_P(Matrix, GatewayFault, ::testing::ValuesIn(test_support::gatewayFaultCases()),
                         [](const auto& info) { return info.param.name; });

// Sets an environment variable for the owner's life, or clears it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class TlsGatewayFault : public ::testing::TestWithParam<test_support::TlsFaultCase> {};

// The authority is trusted through SSL_CERT_FILE, or left to the system's, which lacks it.
TEST_P(TlsGatewayFault, IsLoggedExactlyAndNeverReleased) {
  test_support::TlsLoopbackServer server(test_support::httpReply(200, "OK", "<reply/>"));
  ASSERT_TRUE(server.ready()) << "the openssl command could not make the certificates";
  ScopedEnvironment trust("SSL_CERT_FILE", GetParam().authorityTrusted ? &server.authorityFile() : nullptr);
  MemoryHost host;
  test_support::configureGatewayHost(host, "https://127.0.0.1:" + std::to_string(server.port()));
  KfxReturnValue result = releaseDocument(host);
  test_support::expectOutcome(host, result, GetParam().failureText);
  EXPECT_EQ(server.requestsAnswered(), GetParam().failureText.empty() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Matrix, TlsGatewayFault, ::testing::ValuesIn(test_support::tlsFaultCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
