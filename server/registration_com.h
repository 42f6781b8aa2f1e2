#pragma once
// DllRegisterServer and DllUnregisterServer: the registry entries of the class table under
// HKEY_CLASSES_ROOT, and the type library carried in the component.

#include <windows.h>

#include "server/registry_entries.h"

namespace quorlex {

inline constexpr HRESULT typeLibraryRegistrationFailed = static_cast<HRESULT>(0x80040200);  // SELFREG_E_TYPELIB

HRESULT registerServer();
HRESULT unregisterServer();

// Carries the steps out in order under HKEY_CLASSES_ROOT; stops at the first failure.
HRESULT runRegistryScript(const RegistryScript& script);

}  // namespace quorlex
