// The setup script as the administration module drives it over COM: by vtable slot, and
// through IDispatch::Invoke by dispatch id, with the host's setup-data object served from
// the in-memory host.
#include "setup/setup_script_com.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "common/unique_bstr.h"
#include "resources/quorlex_h.h"
#include "server/module_lock.h"
#include "testhost/host_dispatch_objects.h"
#include "testhost/memory_host.h"
#include "tests/support/script_com_fixture_win32.h"
#include "tests/support/window_driver_win32.h"

namespace quorlex {
namespace {

using test_support::byReference;

class SetupScriptCom : public test_support::ScriptComTest<IKfxReleaseSetupScript, createSetupScriptObject> {
 protected:
  void SetUp() override {
    ScriptComTest::SetUp();
    ASSERT_EQ(exposeSetupData(host.setupData(), setupData), S_OK);
  }

  static VARIANT number(LONG value, VARTYPE type = VT_I4) {
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = type;
    if (type == VT_I2) V_I2(&argument) = static_cast<SHORT>(value);
    else V_I4(&argument) = value;
    return argument;
  }
  static VARIANT text(BSTR value) {
    VARIANT argument;
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = value;  // borrowed: the owner outlives the call
    return argument;
  }

  com_ptr<IDispatch> setupData;
};

// RunUI before SetupData has nothing to show or store: no sheet, KFX_REL_ERROR. Returning at
// all says that no modal sheet came up.
TEST_F(SetupScriptCom, OpenAndCloseSucceedRunUiWithoutSetupDataShowsNothing) {
  ::KfxReturnValue result = ::KFX_REL_ERROR;
  EXPECT_EQ(script->OpenScript(&result), S_OK);
  EXPECT_EQ(result, ::KFX_REL_SUCCESS);

  result = ::KFX_REL_SUCCESS;
  EXPECT_EQ(script->RunUI(&result), S_OK);
  EXPECT_EQ(result, ::KFX_REL_ERROR);
  LONG outcome = KFX_REL_SUCCESS;
  EXPECT_EQ(invoke(setupRunUiId, DISPATCH_METHOD, {byReference(&outcome)}, nullptr), S_OK);
  EXPECT_EQ(outcome, KFX_REL_ERROR);
  EXPECT_EQ(host.applyCount(), 0);

  result = ::KFX_REL_ERROR;
  EXPECT_EQ(script->CloseScript(&result), S_OK);
  EXPECT_EQ(result, ::KFX_REL_SUCCESS);
  EXPECT_EQ(script->OpenScript(nullptr), E_POINTER);
  EXPECT_EQ(script->RunUI(nullptr), E_POINTER);
}

// The sheet through COM, by slot and through Invoke, closed by a second thread: Cancel stores
// nothing, OK applies once; both answer KFX_REL_SUCCESS.
TEST_F(SetupScriptCom, RunUiShowsTheSheetAndAppliesOnlyOnOk) {
  ASSERT_EQ(script->putref_SetupData(setupData.get()), S_OK);
  auto closeWith = [](int button) {
    return std::thread([button] {
      HWND sheet = test_support::waitForWindow(L"Tressaly Export Connector for AS400 Setup", L"#32770");
      ASSERT_NE(sheet, nullptr);
      test_support::click(GetDlgItem(sheet, button));
    });
  };
  std::thread cancel = closeWith(IDCANCEL);
  ::KfxReturnValue result = ::KFX_REL_ERROR;
  EXPECT_EQ(script->RunUI(&result), S_OK);
  cancel.join();
  EXPECT_EQ(result, ::KFX_REL_SUCCESS);
  EXPECT_EQ(host.applyCount(), 0);

  std::thread ok = closeWith(IDOK);
  LONG outcome = KFX_REL_ERROR;
  EXPECT_EQ(invoke(setupRunUiId, DISPATCH_METHOD, {byReference(&outcome)}, nullptr), S_OK);
  ok.join();
  EXPECT_EQ(outcome, KFX_REL_SUCCESS);
  EXPECT_EQ(host.applyCount(), 1);
}

// Every action of the host's table is answered; anything else is unsupported. By slot and
// through Invoke, with the action given as the host's 32-bit or a 16-bit integer.
TEST_F(SetupScriptCom, ActionEventAnswersByTheActionAlone) {
  unique_bstr data1 = unique_bstr::from(u"Old Name");
  unique_bstr data2 = unique_bstr::from(u"New Name");
  struct Case {
    LONG action;
    ::KfxReturnValue expected;
  };
  for (const Case& c : {Case{0, ::KFX_REL_SUCCESS}, Case{13, ::KFX_REL_SUCCESS}, Case{14, ::KFX_REL_UNSUPPORTED},
                        Case{-1, ::KFX_REL_UNSUPPORTED}}) {
    ::KfxReturnValue result = ::KFX_REL_ERROR;
    EXPECT_EQ(script->ActionEvent(static_cast<::KfxActionValue>(c.action), data1.get(), data2.get(), &result), S_OK);
    EXPECT_EQ(result, c.expected) << c.action;

    for (VARTYPE type : {VARTYPE{VT_I4}, VARTYPE{VT_I2}}) {
      LONG outcome = 77;
      EXPECT_EQ(invoke(setupActionEventId, DISPATCH_METHOD,
                       {number(c.action, type), text(data1.get()), text(nullptr), byReference(&outcome)}, nullptr),
                S_OK);
      EXPECT_EQ(outcome, c.expected) << c.action;
    }
  }
  EXPECT_EQ(script->ActionEvent(::KFX_REL_START, nullptr, nullptr, nullptr), E_POINTER);

  LONG outcome = 77;
  IDispatch* notText = setupData.get();
  EXPECT_EQ(invoke(setupActionEventId, DISPATCH_METHOD, {number(0), object(notText), text(nullptr), byReference(&outcome)},
                   nullptr),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(invoke(setupActionEventId, DISPATCH_METHOD, {number(0), byReference(&outcome)}, nullptr),
            DISP_E_BADPARAMCOUNT);
}

// Set by reference or by plain assignment; read back as the same object; emptied again.
TEST_F(SetupScriptCom, SetupDataIsTheHostsObject) {
  com_ptr<IDispatch> read;
  EXPECT_EQ(script->get_SetupData(read.put()), S_OK);
  EXPECT_FALSE(read);
  for (WORD flags : {WORD{DISPATCH_PROPERTYPUTREF}, WORD{DISPATCH_PROPERTYPUT}}) {
    setAndReadDataObject(setupDataId, flags, setupData.get());
  }
  ASSERT_EQ(script->putref_SetupData(nullptr), S_OK);
  ASSERT_EQ(script->get_SetupData(read.put()), S_OK);
  EXPECT_FALSE(read);
}

TEST_F(SetupScriptCom, NamesGiveTheFixedDispatchIds) {
  expectDispatchIds({{L"OpenScript", setupOpenScriptId}, {L"RunUI", setupRunUiId}, {L"CloseScript", setupCloseScriptId},
                     {L"ActionEvent", setupActionEventId}, {L"SetupData", setupDataId}});
}

TEST_F(SetupScriptCom, EveryLiveObjectHoldsTheModule) {
  expectAnotherObjectHoldsTheModule();
}

}  // namespace
}  // namespace quorlex
