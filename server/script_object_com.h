#pragma once
// What the two script objects share as COM objects: identity and aggregation, the dispatch
// description from the type library for their one dual interface, the way a script
// method's outcome reaches the host's KfxReturnValue, the host's data object as a property
// (read, set by reference, set by value), and the making of an instance.

#include <memory>
#include <type_traits>

#include "common/com_ptr.h"
#include "resources/quorlex_h.h"
#include "server/aggregatable_object_com.h"
#include "server/com_guard.h"
#include "server/host_dispatch_adapters.h"
#include "server/host_objects.h"
#include "server/script_dispatch_com.h"

namespace quorlex {

// Interface is the script's dual interface; Data the portable host object that its data
// object property (DocumentData, SetupData) holds.
template <typename Interface, typename Data>
class ScriptObject : public Interface, public AggregatableObject {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return delegateQueryInterface(iid, out); }
  ULONG STDMETHODCALLTYPE AddRef() override { return delegateAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return delegateRelease(); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  // Like every other method, the dispatch methods let no exception out.
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    return guardedCall([&] { return scriptTypeInfo(interfaceId_, index, out); });
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return guardedCall([&] { return scriptIdsOfNames(interfaceId_, iid, names, count, ids); });
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    return guardedCall(
        [&] { return invokeMember(member, iid, locale, flags, parameters, result, exception, argumentError); });
  }

 protected:
  ScriptObject(IUnknown* outer, REFIID interfaceId) : AggregatableObject(outer), interfaceId_(interfaceId) {}

  // The object's own IDispatch::Invoke, run guarded by Invoke.
  virtual HRESULT invokeMember(DISPID member, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                               VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;

  // One of the script's methods, its outcome handed to the host. The host's variable is
  // written first, so that a method that ends by throwing never leaves it saying success.
  template <typename Call>
  HRESULT run(::KfxReturnValue* result, Call call) {
    if (!result) return E_POINTER;
    *result = ::KFX_REL_ERROR;
    return guardedCall([&] {
      KfxReturnValue outcome = KFX_REL_ERROR;
      call(outcome);
      *result = static_cast<::KfxReturnValue>(outcome);
      return S_OK;
    });
  }

  // get_ of the data object property (DocumentData, SetupData): the very object the host
  // set, or null.
  static HRESULT readDataObject(const std::shared_ptr<Data>& held, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = held ? com_ptr<IDispatch>(hostObjectOf(*held)).detach() : nullptr;
    return S_OK;
  }

  // putref_ of the data object property, and a put through Invoke: store receives the
  // host's object reached late-bound, or null.
  template <typename Store>
  static HRESULT writeDataObject(IDispatch* object, Store store) {
    return guardedCall([&] {
      store(dataOverDispatch(com_ptr<IDispatch>(object)));
      return S_OK;
    });
  }

  // Invoke of the data object property, read, set by reference or set by value, through
  // its vtable entries.
  template <typename Object>
  HRESULT invokeDataObject(WORD flags, DISPPARAMS* parameters, VARIANT* result, UINT* argumentError, Object* object,
                           HRESULT (STDMETHODCALLTYPE Object::*get)(IDispatch**),
                           HRESULT (STDMETHODCALLTYPE Object::*set)(IDispatch*)) {
    return invokeObjectProperty(
        flags, parameters, result, argumentError,
        [&](com_ptr<IDispatch>& out) { return (object->*get)(out.put()); },
        [&](IDispatch* data) { return (object->*set)(data); });
  }

  // Invoke of a method without inputs, through its vtable entry.
  template <typename Object>
  HRESULT invokeSimple(WORD flags, DISPPARAMS* parameters, VARIANT* result, UINT* argumentError, Object* object,
                       HRESULT (STDMETHODCALLTYPE Object::*method)(::KfxReturnValue*)) {
    return invokeResultMethod(flags, parameters, result, argumentError, 0, [&](const VARIANT* const*, LONG* value) {
      ::KfxReturnValue outcome = ::KFX_REL_ERROR;
      HRESULT code = (object->*method)(&outcome);
      *value = outcome;
      return code;
    });
  }

 private:
  static std::shared_ptr<Data> dataOverDispatch(com_ptr<IDispatch> object) {
    if constexpr (std::is_same_v<Data, IReleaseData>) {
      return releaseDataOverDispatch(std::move(object));
    } else {
      return setupDataOverDispatch(std::move(object));
    }
  }

  void* findInterface(REFIID iid) override {
    if (iid == IID_IDispatch || iid == interfaceId_) return static_cast<Interface*>(this);
    return nullptr;
  }

  const IID& interfaceId_;
};

// A new script object, aggregated when outer is given; out receives its inner IUnknown.
template <typename Object>
HRESULT createScriptObject(IUnknown* outer, com_ptr<IUnknown>& out) {
  return guardedCall([&] {
    auto object = std::make_unique<Object>(outer);
    out = com_ptr<IUnknown>::attach(object.release()->innerUnknown());
    return S_OK;
  });
}

}  // namespace quorlex
