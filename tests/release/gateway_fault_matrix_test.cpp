// The gateway fault matrix through ReleaseDoc on the Linux request (libcurl): every case of
// tests/support/gateway_fault_cases.h against its scripted peer on 127.0.0.1.
#include <gtest/gtest.h>

#include <thread>

#include "release/host_log.h"
#include "release/release_script.h"
#include "tests/support/gateway_fault_cases.h"

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

}  // namespace
}  // namespace quorlex
