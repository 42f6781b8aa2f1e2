#include "server/type_library_com.h"

#include <windows.h>

#include <mutex>

namespace quorlex {
namespace {

struct CachedLibrary {
  std::mutex lock;
  com_ptr<ITypeLib> library;
};

CachedLibrary& cachedLibrary() {
  static CachedLibrary instance;
  return instance;
}

}  // namespace

HRESULT ownModulePath(std::wstring& out) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&ownModulePath), &module)) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  // The path may be longer than MAX_PATH: grow until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return HRESULT_FROM_WIN32(GetLastError());
    if (length < path.size()) {
      path.resize(length);
      out = std::move(path);
      return S_OK;
    }
    path.resize(path.size() * 2);
  }
}

HRESULT ownTypeLibrary(com_ptr<ITypeLib>& out) {
  CachedLibrary& cache = cachedLibrary();
  std::lock_guard guard(cache.lock);
  if (!cache.library) {
    std::wstring path;
    HRESULT result = ownModulePath(path);
    if (FAILED(result)) return result;
    result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, cache.library.put());
    if (FAILED(result)) return result;
  }
  out = cache.library;
  return S_OK;
}

HRESULT ownTypeInfo(REFGUID interfaceId, com_ptr<ITypeInfo>& out) {
  com_ptr<ITypeLib> library;
  HRESULT result = ownTypeLibrary(library);
  if (FAILED(result)) return result;
  return library->GetTypeInfoOfGuid(interfaceId, out.put());
}

}  // namespace quorlex
