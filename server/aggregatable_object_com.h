#pragma once
// Identity, reference counting and aggregation for the component's script objects.
//
// Every object has an inner, non-delegating IUnknown that owns its reference count. A plain
// instance is its own controlling unknown; an aggregated one delegates QueryInterface,
// AddRef and Release of all its interfaces to the outer object, and only the inner unknown
// is handed to the outer object.

#include <unknwn.h>

#include <atomic>
#include <memory>

#include "server/module_lock.h"

namespace quorlex {

class AggregatableObject {
 public:
  AggregatableObject(const AggregatableObject&) = delete;
  AggregatableObject& operator=(const AggregatableObject&) = delete;
  virtual ~AggregatableObject() = default;

  IUnknown* innerUnknown() { return &inner_; }

 protected:
  explicit AggregatableObject(IUnknown* outer) : inner_(*this), controlling_(outer ? outer : &inner_) {}

  // The object's pointer for an interface other than IUnknown, or null.
  virtual void* findInterface(REFIID iid) = 0;

  // For the IUnknown methods of the object's own interfaces.
  HRESULT delegateQueryInterface(REFIID iid, void** out) { return controlling_->QueryInterface(iid, out); }
  ULONG delegateAddRef() { return controlling_->AddRef(); }
  ULONG delegateRelease() { return controlling_->Release(); }

 private:
  class Inner final : public IUnknown {
   public:
    explicit Inner(AggregatableObject& owner) : owner_(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
      if (!out) return E_POINTER;
      if (iid == IID_IUnknown) {
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
      }
      *out = owner_.findInterface(iid);
      if (!*out) return E_NOINTERFACE;
      // Through the interface itself: an aggregated object's reference belongs to the outer one.
      static_cast<IUnknown*>(*out)->AddRef();
      return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
      ULONG left = --references_;
      if (left == 0) std::unique_ptr<AggregatableObject> destroy(&owner_);
      return left;
    }

   private:
    AggregatableObject& owner_;
    std::atomic<ULONG> references_{1};
  };

  Inner inner_;
  IUnknown* controlling_;
  ModuleReference moduleReference_;
};

}  // namespace quorlex
