#include "release/release_script_com.h"

#include "release/release_script.h"
#include "server/script_object_com.h"

namespace quorlex {
namespace {

class ReleaseScriptObject final : public ScriptObject<::IKfxReleaseScript, IReleaseData> {
 public:
  explicit ReleaseScriptObject(IUnknown* outer) : ScriptObject(outer, IID_IKfxReleaseScript) {}

  HRESULT invokeMember(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                       EXCEPINFO*, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    auto method = [&](auto call) { return invokeSimple(flags, parameters, result, argumentError, this, call); };
    switch (member) {
      case releaseOpenScriptId:
        return method(&ReleaseScriptObject::OpenScript);
      case releaseDocId:
        return method(&ReleaseScriptObject::ReleaseDoc);
      case releaseCloseScriptId:
        return method(&ReleaseScriptObject::CloseScript);
      case releaseDocumentDataId:
        return invokeDataObject(flags, parameters, result, argumentError, this,
                                &ReleaseScriptObject::get_DocumentData, &ReleaseScriptObject::putref_DocumentData);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  HRESULT STDMETHODCALLTYPE OpenScript(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.OpenScript(outcome); });
  }

  HRESULT STDMETHODCALLTYPE ReleaseDoc(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.ReleaseDoc(outcome); });
  }

  HRESULT STDMETHODCALLTYPE CloseScript(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.CloseScript(outcome); });
  }

  HRESULT STDMETHODCALLTYPE get_DocumentData(IDispatch** out) override { return readDataObject(script_.DocumentData(), out); }
  HRESULT STDMETHODCALLTYPE putref_DocumentData(IDispatch* data) override {
    return writeDataObject(data, [&](std::shared_ptr<IReleaseData> held) { script_.setDocumentData(std::move(held)); });
  }

 private:
  releaseScript script_;
};

}  // namespace

HRESULT createReleaseScriptObject(IUnknown* outer, com_ptr<IUnknown>& out) {
  return createScriptObject<ReleaseScriptObject>(outer, out);
}

}  // namespace quorlex
