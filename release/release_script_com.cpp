#include "release/release_script_com.h"

#include "release/release_script.h"
#include "resources/quorlex_h.h"
#include "server/aggregatable_object_com.h"
#include "server/com_guard.h"
#include "server/host_dispatch_adapters.h"
#include "server/script_dispatch_com.h"

namespace quorlex {
namespace {

constexpr DISPID openScriptId = 0x60030000;
constexpr DISPID releaseDocId = 0x60030001;
constexpr DISPID closeScriptId = 0x60030002;
constexpr DISPID documentDataId = 0x60030003;

class ReleaseScriptObject final : public ::IKfxReleaseScript, public AggregatableObject {
 public:
  explicit ReleaseScriptObject(IUnknown* outer) : AggregatableObject(outer) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return delegateQueryInterface(iid, out); }
  ULONG STDMETHODCALLTYPE AddRef() override { return delegateAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return delegateRelease(); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    return scriptTypeInfo(IID_IKfxReleaseScript, index, out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return scriptIdsOfNames(IID_IKfxReleaseScript, iid, names, count, ids);
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO*, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    auto method = [&](auto call) {  // a pointer to one of the three methods below
      return invokeResultMethod(flags, parameters, result, argumentError, 0, [&](const VARIANT* const*, LONG* value) {
        ::KfxReturnValue outcome = ::KFX_REL_ERROR;
        HRESULT code = (this->*call)(&outcome);
        *value = outcome;
        return code;
      });
    };
    switch (member) {
      case openScriptId:
        return method(&ReleaseScriptObject::OpenScript);
      case releaseDocId:
        return method(&ReleaseScriptObject::ReleaseDoc);
      case closeScriptId:
        return method(&ReleaseScriptObject::CloseScript);
      case documentDataId:
        return invokeObjectProperty(
            flags, parameters, result, argumentError,
            [&](com_ptr<IDispatch>& out) { return get_DocumentData(out.put()); },
            [&](IDispatch* object) { return putref_DocumentData(object); });
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

  HRESULT STDMETHODCALLTYPE OpenScript(::KfxReturnValue* result) override {
    return run(&releaseScript::OpenScript, result);
  }

  HRESULT STDMETHODCALLTYPE ReleaseDoc(::KfxReturnValue* result) override {
    return run(&releaseScript::ReleaseDoc, result);
  }

  HRESULT STDMETHODCALLTYPE CloseScript(::KfxReturnValue* result) override {
    return run(&releaseScript::CloseScript, result);
  }

  HRESULT STDMETHODCALLTYPE get_DocumentData(IDispatch** out) override {
    if (!out) return E_POINTER;
    std::shared_ptr<IReleaseData> data = script_.DocumentData();
    *out = data ? com_ptr<IDispatch>(hostObjectOf(*data)).detach() : nullptr;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE putref_DocumentData(IDispatch* data) override {
    return guardedCall([&] {
      script_.setDocumentData(releaseDataOverDispatch(com_ptr<IDispatch>(data)));
      return S_OK;
    });
  }

 private:
  // One of the script's methods, its outcome handed to the host.
  HRESULT run(void (releaseScript::*method)(KfxReturnValue&), ::KfxReturnValue* result) {
    if (!result) return E_POINTER;
    // Written first, so that a method that ends by throwing never leaves the host's variable
    // saying success.
    *result = ::KFX_REL_ERROR;
    return guardedCall([&] {
      KfxReturnValue outcome = KFX_REL_ERROR;
      (script_.*method)(outcome);
      *result = static_cast<::KfxReturnValue>(outcome);
      return S_OK;
    });
  }

  void* findInterface(REFIID iid) override {
    if (iid == IID_IDispatch || iid == IID_IKfxReleaseScript) return static_cast<::IKfxReleaseScript*>(this);
    return nullptr;
  }

  releaseScript script_;
};

}  // namespace

HRESULT createReleaseScriptObject(IUnknown* outer, com_ptr<IUnknown>& out) {
  return guardedCall([&] {
    auto object = std::make_unique<ReleaseScriptObject>(outer);
    out = com_ptr<IUnknown>::attach(object.release()->innerUnknown());
    return S_OK;
  });
}

}  // namespace quorlex
