#pragma once
// The class object of one script class. The component's cache holds one reference that
// does not lock the module; every further reference (a host holding the class object)
// does, as does LockServer.

#include <unknwn.h>

#include <atomic>

#include "common/com_ptr.h"

namespace quorlex {

// Creates one instance, aggregated when outer is given, and gives its inner IUnknown.
using InstanceCreator = HRESULT (*)(IUnknown* outer, com_ptr<IUnknown>& out);

class ClassFactory final : public IClassFactory {
 public:
  // A new class object holding the cache's reference.
  static HRESULT create(InstanceCreator creator, com_ptr<ClassFactory>& out);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // With an outer object only IUnknown may be asked for (CLASS_E_NOAGGREGATION otherwise).
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

  explicit ClassFactory(InstanceCreator creator) : creator_(creator) {}

 private:
  InstanceCreator creator_;
  std::atomic<ULONG> references_{1};
};

}  // namespace quorlex
