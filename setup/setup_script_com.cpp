#include "setup/setup_script_com.h"

#include "common/activation_context_win32.h"
#include "common/own_module_win32.h"
#include "common/unique_bstr.h"
#include "common/unique_variant.h"
#include "server/script_object_com.h"
#include "setup/setup_platform_win32.h"
#include "setup/setup_script.h"

namespace quorlex {
namespace {

// An Invoke argument as the declared type, whatever the late-bound caller passed.
HRESULT argumentAsLong(const VARIANT& argument, LONG& out) {
  unique_variant converted;
  HRESULT code = VariantChangeType(converted.get(), const_cast<VARIANT*>(&argument), 0, VT_I4);
  if (FAILED(code)) return DISP_E_TYPEMISMATCH;
  out = V_I4(converted.get());
  return S_OK;
}

HRESULT argumentAsText(const VARIANT& argument, unique_variant& out) {
  HRESULT code = VariantChangeType(out.put(), const_cast<VARIANT*>(&argument), 0, VT_BSTR);
  return FAILED(code) ? DISP_E_TYPEMISMATCH : S_OK;
}

class SetupScriptObject final : public ScriptObject<::IKfxReleaseSetupScript, IReleaseSetupData> {
 public:
  explicit SetupScriptObject(IUnknown* outer) : ScriptObject(outer, IID_IKfxReleaseSetupScript),
        script_(std::make_shared<Win32SetupPlatform>(ownModule())) {}

  HRESULT invokeMember(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                       EXCEPINFO*, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    auto method = [&](auto call) { return invokeSimple(flags, parameters, result, argumentError, this, call); };
    switch (member) {
      case setupOpenScriptId:
        return method(&SetupScriptObject::OpenScript);
      case setupRunUiId:
        return method(&SetupScriptObject::RunUI);
      case setupCloseScriptId:
        return method(&SetupScriptObject::CloseScript);
      case setupActionEventId:
        return invokeResultMethod(flags, parameters, result, argumentError, 3,
                                  [&](const VARIANT* const* inputs, LONG* value) {
                                    LONG action = 0;
                                    unique_variant data1, data2;
                                    HRESULT code = argumentAsLong(*inputs[0], action);
                                    if (SUCCEEDED(code)) code = argumentAsText(*inputs[1], data1);
                                    if (SUCCEEDED(code)) code = argumentAsText(*inputs[2], data2);
                                    if (FAILED(code)) return code;
                                    ::KfxReturnValue outcome = ::KFX_REL_ERROR;
                                    code = ActionEvent(static_cast<::KfxActionValue>(action), V_BSTR(data1.get()),
                                                       V_BSTR(data2.get()), &outcome);
                                    *value = outcome;
                                    return code;
                                  });
      case setupDataId:
        return invokeDataObject(flags, parameters, result, argumentError, this, &SetupScriptObject::get_SetupData,
                                &SetupScriptObject::putref_SetupData);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  HRESULT STDMETHODCALLTYPE OpenScript(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.OpenScript(outcome); });
  }

  // The whole sheet runs in the component's own activation context: its windows are themed
  // and "comctl32.dll" is version 6 inside it, whatever manifest the host process has.
  HRESULT STDMETHODCALLTYPE RunUI(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) {
      ComponentActivationContext context(ownModule());
      script_.RunUI(outcome);
    });
  }

  HRESULT STDMETHODCALLTYPE CloseScript(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.CloseScript(outcome); });
  }

  HRESULT STDMETHODCALLTYPE ActionEvent(::KfxActionValue action, BSTR data1, BSTR data2,
                                        ::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) {
      script_.ActionEvent(static_cast<std::int32_t>(action), unique_bstr::view(data1), unique_bstr::view(data2),
                          outcome);
    });
  }

  HRESULT STDMETHODCALLTYPE get_SetupData(IDispatch** out) override { return readDataObject(script_.SetupData(), out); }
  HRESULT STDMETHODCALLTYPE putref_SetupData(IDispatch* data) override {
    return writeDataObject(data, [&](std::shared_ptr<IReleaseSetupData> held) { script_.setSetupData(std::move(held)); });
  }

 private:
  TarvSetupScript script_;
};

}  // namespace

HRESULT createSetupScriptObject(IUnknown* outer, com_ptr<IUnknown>& out) {
  return createScriptObject<SetupScriptObject>(outer, out);
}

}  // namespace quorlex
