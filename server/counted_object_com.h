#pragma once
// Reference counting and QueryInterface for the component's plain (never aggregated) COM
// objects: IUnknown, Interface, and whatever else offers() answers for.

#include <unknwn.h>

#include <atomic>
#include <memory>

namespace quorlex {

template <class Interface>
class CountedObject : public Interface {
 public:
  CountedObject() = default;
  CountedObject(const CountedObject&) = delete;
  CountedObject& operator=(const CountedObject&) = delete;
  virtual ~CountedObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || offers(iid)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) std::unique_ptr<CountedObject> destroy(this);
    return left;
  }

 protected:
  // Whether QueryInterface hands out this object's Interface for iid (IUnknown aside).
  virtual bool offers(REFIID iid) const = 0;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace quorlex
