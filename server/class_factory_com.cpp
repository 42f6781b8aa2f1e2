#include "server/class_factory_com.h"

#include <memory>

#include "server/com_guard.h"
#include "server/module_lock.h"

namespace quorlex {

HRESULT ClassFactory::create(InstanceCreator creator, com_ptr<ClassFactory>& out) {
  return guardedCall([&] {
    out = com_ptr<ClassFactory>::attach(std::make_unique<ClassFactory>(creator).release());
    return S_OK;
  });
}

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IClassFactory) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
  ULONG count = ++references_;
  if (count == 2) lockModule();  // the first reference beyond the cache's own
  return count;
}

ULONG ClassFactory::Release() {
  ULONG count = --references_;
  if (count == 1) unlockModule();
  if (count == 0) std::unique_ptr<ClassFactory> destroy(this);
  return count;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
  com_ptr<IUnknown> instance;
  HRESULT code = creator_(outer, instance);
  if (FAILED(code)) return code;
  return instance->QueryInterface(iid, out);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    lockModule();
  } else {
    unlockModule();
  }
  return S_OK;
}

}  // namespace quorlex
