#pragma once
// A scripted IDispatch object for tests: names map to dispatch ids 1, 2, ...; every Invoke
// is recorded with copies of its arguments in declared order, and answered by a callback.
// It lives on the test's stack; its reference count only counts.

#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

#include "common/unique_variant.h"

namespace quorlex::test_support {

struct RecordedCall {
  std::u16string member;  // empty for a dispatch id outside the name table
  DISPID id = 0;
  WORD flags = 0;
  std::vector<unique_variant> arguments;  // in declared order
  std::vector<DISPID> named;
};

class RecordingDispatch final : public IDispatch {
 public:
  using Answer = std::function<HRESULT(const RecordedCall&, VARIANT* result, EXCEPINFO* exception)>;

  explicit RecordingDispatch(std::vector<std::u16string> members, Answer answer = {})
      : members_(std::move(members)), answer_(std::move(answer)) {}

  // QueryInterface also answers these ids, with this object.
  std::vector<IID> alsoOffers;
  std::vector<RecordedCall> calls;
  long references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    bool offered = iid == IID_IUnknown || iid == IID_IDispatch;
    for (const IID& extra : alsoOffers) offered = offered || iid == extra;
    *out = offered ? static_cast<IDispatch*>(this) : nullptr;
    if (!offered) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count != 1) return E_INVALIDARG;
    std::u16string name(reinterpret_cast<const char16_t*>(names[0]));
    for (std::size_t i = 0; i < members_.size(); ++i) {
      if (members_[i] == name) {
        ids[0] = static_cast<DISPID>(i + 1);
        return S_OK;
      }
    }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    RecordedCall call;
    call.id = id;
    if (id >= 1 && static_cast<std::size_t>(id) <= members_.size()) call.member = members_[static_cast<std::size_t>(id - 1)];
    call.flags = flags;
    for (UINT i = parameters->cArgs; i > 0; --i) {
      unique_variant copy;
      (void)VariantCopy(copy.get(), &parameters->rgvarg[i - 1]);
      call.arguments.push_back(std::move(copy));
    }
    call.named.assign(parameters->rgdispidNamedArgs, parameters->rgdispidNamedArgs + parameters->cNamedArgs);
    calls.push_back(std::move(call));
    return answer_ ? answer_(calls.back(), result, exception) : S_OK;
  }

 private:
  std::vector<std::u16string> members_;
  Answer answer_;
};

}  // namespace quorlex::test_support
