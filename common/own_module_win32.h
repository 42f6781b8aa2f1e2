#pragma once
// The module this code is linked into: quorlex.dll inside the host, or a test program that
// links the component's code and resources statically. Its resources, version block and
// manifest are the component's, never the host's.

#include <windows.h>

namespace quorlex {

inline HMODULE ownModule() {
  static const char anchor = 0;
  HMODULE module = nullptr;
  (void)GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&anchor), &module);
  return module;
}

}  // namespace quorlex
