// The release script as a host drives it over COM: by vtable slot, and through
// IDispatch::Invoke by dispatch id as late-bound hosts call, with the host's document-data
// object served from the in-memory host.
#include "release/release_script_com.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "release/host_log.h"
#include "resources/quorlex_h.h"
#include "server/module_lock.h"
#include "testhost/host_dispatch_objects.h"
#include "testhost/memory_host.h"
#include "tests/support/loopback_server.h"
#include "tests/support/redirect_cases.h"
#include "tests/support/script_com_fixture_win32.h"

namespace quorlex {
namespace {

using test_support::byReference;

class ReleaseScriptCom : public test_support::ScriptComTest<IKfxReleaseScript, createReleaseScriptObject> {
 protected:
  void SetUp() override {
    ScriptComTest::SetUp();
    ASSERT_EQ(exposeReleaseData(host.releaseData(), documentData), S_OK);
  }
  void TearDown() override { clearLoggingTarget(); }

  com_ptr<IDispatch> documentData;
};

TEST_F(ReleaseScriptCom, OpenAndCloseByVtableWithOrWithoutDocumentData) {
  for (bool withData : {false, true}) {
    if (withData) {
      ASSERT_EQ(script->putref_DocumentData(documentData.get()), S_OK);
    }
    ::KfxReturnValue result = ::KFX_REL_ERROR;
    EXPECT_EQ(script->OpenScript(&result), S_OK);
    EXPECT_EQ(result, ::KFX_REL_SUCCESS);
    result = ::KFX_REL_ERROR;
    EXPECT_EQ(script->CloseScript(&result), S_OK);
    EXPECT_EQ(result, ::KFX_REL_SUCCESS);
  }
  EXPECT_EQ(script->OpenScript(nullptr), E_POINTER);
}

// A document released over COM against a peer on 127.0.0.1, through the platform's
// request object: by slot it is taken; through Invoke, with the peer gone, it is not.
TEST_F(ReleaseScriptCom, ReleaseDocPostsTheDocumentThroughThePlatformRequest) {
  auto server = std::make_unique<test_support::LoopbackServer>(
      std::vector<std::string>{test_support::httpReply(200, "OK", "<reply/>")});
  host.record().customProperties = {{u"serverURL", fromUtf8("http://127.0.0.1:" + std::to_string(server->port()))},
                                    {u"ExitProgramProgram", u"PGM"},
                                    {u"ExitProgramLibrary", u"LIB"},
                                    {u"ExitProgramDelimiter", u"|"}};
  host.setDocumentValues({MemoryValue{u"PARM1", u"INV123", u"", {}}});
  ASSERT_EQ(script->putref_DocumentData(documentData.get()), S_OK);

  ::KfxReturnValue result = ::KFX_REL_ERROR;
  ASSERT_EQ(script->ReleaseDoc(&result), S_OK);
  EXPECT_EQ(result, ::KFX_REL_SUCCESS);
  ASSERT_EQ(server->requests().size(), 1u);
  EXPECT_TRUE(server->requests()[0].ends_with("name=\"PARM1\"\r\n\r\nINV123\r\n-----------------------------tarvRel--"));
  ASSERT_EQ(host.events().size(), 1u);
  EXPECT_EQ(host.events()[0].kind, HostEvent::Kind::LogError);
  EXPECT_EQ(host.events()[0].lineNumber, hostMessage::releasedLine);

  server.reset();
  host.clearEvents();
  LONG outcome = KFX_REL_SUCCESS;
  ASSERT_EQ(invoke(releaseDocId, DISPATCH_METHOD, {byReference(&outcome)}, nullptr), S_OK);
  EXPECT_EQ(outcome, KFX_REL_ERROR);
  ASSERT_EQ(host.events().size(), 2u);
  EXPECT_EQ(host.events()[0].lineNumber, hostMessage::postFailedLine);
  EXPECT_EQ(host.events()[0].message, u"http request failed: 0x800C0005, Unable to contact server");
  EXPECT_EQ(host.events()[1].kind, HostEvent::Kind::SendMessage);
  EXPECT_EQ(script->ReleaseDoc(nullptr), E_POINTER);
}

// Every redirect, by slot as the host calls: not followed, not released, its status logged.
TEST_F(ReleaseScriptCom, ARedirectedPostIsNotReleased) {
  ASSERT_EQ(script->putref_DocumentData(documentData.get()), S_OK);
  for (const test_support::RedirectCase& redirect : test_support::redirectCases()) {
    SCOPED_TRACE(redirect.name);
    test_support::LoopbackServer server(test_support::redirectReplies(redirect));
    host.record().customProperties = {{u"serverURL", fromUtf8("http://127.0.0.1:" + std::to_string(server.port()))},
                                      {u"ExitProgramProgram", u"PGM"}};
    host.clearEvents();
    ::KfxReturnValue result = ::KFX_REL_SUCCESS;
    ASSERT_EQ(script->ReleaseDoc(&result), S_OK);
    EXPECT_EQ(result, ::KFX_REL_ERROR);
    ASSERT_EQ(host.events().size(), 2u);
    EXPECT_EQ(host.events()[0].lineNumber, hostMessage::postFailedLine);
    EXPECT_EQ(toUtf8(host.events()[0].message), test_support::redirectFailureText(redirect));
    EXPECT_EQ(host.events()[1].kind, HostEvent::Kind::SendMessage);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_TRUE(server.requests()[0].starts_with("POST /rpc/quorlex/ HTTP/1.1\r\n"));
  }
}

// DocumentData gives back the very object set, makes it the logging target, and is empty
// after CloseScript.
TEST_F(ReleaseScriptCom, DocumentDataIsTheHostsObjectAndTheLoggingTarget) {
  com_ptr<IDispatch> read;
  EXPECT_EQ(script->get_DocumentData(read.put()), S_OK);
  EXPECT_FALSE(read);

  ASSERT_EQ(script->putref_DocumentData(documentData.get()), S_OK);
  ASSERT_EQ(script->get_DocumentData(read.put()), S_OK);
  EXPECT_EQ(read.get(), documentData.get());
  logToHost(hostMessage::releasedLine, levelNotice, hostMessage::releasedText);
  ASSERT_EQ(host.events().size(), 1u);
  EXPECT_EQ(host.events()[0].message, u"Document Released Successfully");
  EXPECT_EQ(host.events()[0].lineNumber, 250);
  EXPECT_EQ(host.events()[0].codeModule, u".\\releaseScript");

  ::KfxReturnValue result;
  ASSERT_EQ(script->CloseScript(&result), S_OK);
  ASSERT_EQ(script->get_DocumentData(read.put()), S_OK);
  EXPECT_FALSE(read);
  logToHost(hostMessage::valuesLine, levelError, hostMessage::valuesText);
  EXPECT_EQ(host.events().size(), 1u);  // nothing is logged after CloseScript
}

TEST_F(ReleaseScriptCom, NamesGiveTheFixedDispatchIds) {
  expectDispatchIds({{L"OpenScript", releaseOpenScriptId}, {L"ReleaseDoc", releaseDocId},
                     {L"CloseScript", releaseCloseScriptId}, {L"DocumentData", releaseDocumentDataId}});
  LPOLESTR unknown = const_cast<LPOLESTR>(L"RunUI");
  DISPID id = 0;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &unknown, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
  com_ptr<ITypeInfo> info;
  ASSERT_EQ(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, IID_IKfxReleaseScript));
  info->ReleaseTypeAttr(attributes);
}

// The KfxReturnValue as a by-reference argument, as the call's result, or both.
TEST_F(ReleaseScriptCom, TheResultComesBackEitherWay) {
  for (DISPID member : {releaseOpenScriptId, releaseCloseScriptId}) {
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(invoke(member, DISPATCH_METHOD, {}, &result), S_OK);
    EXPECT_EQ(V_VT(&result), VT_I4);
    EXPECT_EQ(V_I4(&result), KFX_REL_SUCCESS);

    LONG outcome = 77;
    ASSERT_EQ(invoke(member, DISPATCH_METHOD, {byReference(&outcome)}, nullptr), S_OK);
    EXPECT_EQ(outcome, KFX_REL_SUCCESS);

    outcome = 77;
    VariantInit(&result);
    ASSERT_EQ(invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {byReference(&outcome)}, &result), S_OK);
    EXPECT_EQ(outcome, KFX_REL_SUCCESS);
    EXPECT_EQ(V_I4(&result), KFX_REL_SUCCESS);

    VARIANT holder;
    V_VT(&holder) = VT_EMPTY;
    VARIANT byVariant;
    V_VT(&byVariant) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byVariant) = &holder;
    ASSERT_EQ(invoke(member, DISPATCH_METHOD, {byVariant}, nullptr), S_OK);
    EXPECT_EQ(V_VT(&holder), VT_I4);
    EXPECT_EQ(V_I4(&holder), KFX_REL_SUCCESS);
  }
  LONG outcome = KFX_REL_SUCCESS;
  ASSERT_EQ(invoke(releaseDocId, DISPATCH_METHOD, {byReference(&outcome)}, nullptr), S_OK);
  EXPECT_EQ(outcome, KFX_REL_ERROR);
}

TEST_F(ReleaseScriptCom, CallsThatCannotBeMatchedAreRefused) {
  LONG outcome = 77;
  VARIANT byValue;
  V_VT(&byValue) = VT_I4;
  V_I4(&byValue) = 0;
  EXPECT_EQ(invoke(releaseOpenScriptId, DISPATCH_METHOD, {byValue}, nullptr), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(invoke(releaseOpenScriptId, DISPATCH_METHOD, {byReference(&outcome), byReference(&outcome)}, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(releaseOpenScriptId, DISPATCH_METHOD, {byReference(&outcome)}, nullptr, {0}), DISP_E_NONAMEDARGS);
  EXPECT_EQ(invoke(releaseOpenScriptId, DISPATCH_PROPERTYPUT, {byReference(&outcome)}, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(outcome, 77);
  EXPECT_EQ(invoke(0x60030004, DISPATCH_METHOD, {}, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(releaseDocumentDataId, DISPATCH_PROPERTYPUT, {byValue}, nullptr, {DISPID_PROPERTYPUT}),
            DISP_E_TYPEMISMATCH);
}

// Set by reference or by plain assignment; read back as the same object.
TEST_F(ReleaseScriptCom, DocumentDataThroughInvoke) {
  for (WORD flags : {WORD{DISPATCH_PROPERTYPUTREF}, WORD{DISPATCH_PROPERTYPUT}}) {
    ::KfxReturnValue closed;
    ASSERT_EQ(script->CloseScript(&closed), S_OK);
    setAndReadDataObject(releaseDocumentDataId, flags, documentData.get());
    EXPECT_NE(loggingTarget(), nullptr);
  }
  // Nothing, set as an empty object.
  ASSERT_EQ(invoke(releaseDocumentDataId, DISPATCH_PROPERTYPUTREF, {object(nullptr)}, nullptr, {DISPID_PROPERTYPUT}), S_OK);
  com_ptr<IDispatch> read;
  ASSERT_EQ(script->get_DocumentData(read.put()), S_OK);
  EXPECT_FALSE(read);
  EXPECT_EQ(loggingTarget(), nullptr);
}

TEST_F(ReleaseScriptCom, EveryLiveObjectHoldsTheModule) {
  expectAnotherObjectHoldsTheModule();
  const long before = moduleLockCount();
  dispatch = nullptr;
  script = nullptr;
  EXPECT_EQ(moduleLockCount(), before - 1);
}

}  // namespace
}  // namespace quorlex
