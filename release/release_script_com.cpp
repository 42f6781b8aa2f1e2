#include "release/release_script_com.h"

#include "release/release_script.h"
#include "server/host_dispatch_adapters.h"
#include "server/script_object_com.h"

namespace quorlex {
namespace {

constexpr DISPID openScriptId = 0x60030000;
constexpr DISPID releaseDocId = 0x60030001;
constexpr DISPID closeScriptId = 0x60030002;
constexpr DISPID documentDataId = 0x60030003;

class ReleaseScriptObject final : public ScriptObject<::IKfxReleaseScript> {
 public:
  explicit ReleaseScriptObject(IUnknown* outer) : ScriptObject(outer, IID_IKfxReleaseScript) {}

  HRESULT invokeMember(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                       EXCEPINFO*, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    auto method = [&](auto call) { return invokeSimple(flags, parameters, result, argumentError, this, call); };
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
    return run(result, [&](KfxReturnValue& outcome) { script_.OpenScript(outcome); });
  }

  HRESULT STDMETHODCALLTYPE ReleaseDoc(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.ReleaseDoc(outcome); });
  }

  HRESULT STDMETHODCALLTYPE CloseScript(::KfxReturnValue* result) override {
    return run(result, [&](KfxReturnValue& outcome) { script_.CloseScript(outcome); });
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
