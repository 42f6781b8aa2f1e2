// The gateway fault matrix through the component's release script over COM, under Wine, on
// WinHTTP's request object: every case of tests/support/gateway_fault_cases.h against its
// scripted peer on 127.0.0.1.
#include <gtest/gtest.h>

#include "release/host_log.h"
#include "release/release_script_com.h"
#include "resources/quorlex_h.h"
#include "testhost/host_dispatch_objects.h"
#include "tests/support/gateway_fault_cases.h"

namespace quorlex {
namespace {

using test_support::GatewayFaultCase;

// As a host does it: a new script object, the document's data set by reference, ReleaseDoc.
KfxReturnValue releaseDocument(MemoryHost& host) {
  com_ptr<IUnknown> instance;
  com_ptr<IKfxReleaseScript> script;
  com_ptr<IDispatch> documentData;
  EXPECT_EQ(createReleaseScriptObject(nullptr, instance), S_OK);
  EXPECT_EQ(instance.query(script), S_OK);
  EXPECT_EQ(exposeReleaseData(host.releaseData(), documentData), S_OK);
  if (!script || !documentData) return KFX_REL_ERROR;
  EXPECT_EQ(script->putref_DocumentData(documentData.get()), S_OK);
  ::KfxReturnValue result = ::KFX_REL_SUCCESS;
  EXPECT_EQ(script->ReleaseDoc(&result), S_OK);
  ::KfxReturnValue closed = ::KFX_REL_ERROR;
  EXPECT_EQ(script->CloseScript(&closed), S_OK);
  return static_cast<KfxReturnValue>(result);
}

class GatewayFaultCom : public ::testing::TestWithParam<GatewayFaultCase> {};

TEST_P(GatewayFaultCom, IsLoggedExactlyAndNeverReleased) {
  if (!GetParam().windowsNote.empty()) RecordProperty("windows", GetParam().windowsNote);
  test_support::checkGatewayFault(GetParam(), releaseDocument);
}

INSTANTIATE_TEST_SUITE_P(Matrix, GatewayFaultCom, ::testing::ValuesIn(test_support::gatewayFaultCases()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex
