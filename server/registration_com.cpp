#include "server/registration_com.h"

#include <oleauto.h>

#include <string>

#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "common/unique_hkey.h"
#include "server/class_table.h"
#include "server/type_library_com.h"

namespace quorlex {
namespace {

constexpr SYSKIND ownSystemKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

HRESULT fromRegistryError(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<unsigned long>(status));
}

bool absent(LSTATUS status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

HRESULT createKey(const std::u16string& key, unique_hkey& out) {
  return fromRegistryError(RegCreateKeyExW(HKEY_CLASSES_ROOT, wide(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_SET_VALUE, nullptr, out.put(), nullptr));
}

HRESULT setValue(const RegistryStep& step) {
  unique_hkey key;
  HRESULT code = createKey(step.key, key);
  if (FAILED(code)) return code;
  const auto bytes = static_cast<DWORD>((step.value.size() + 1) * sizeof(char16_t));
  return fromRegistryError(RegSetValueExW(key.get(), step.valueName.empty() ? nullptr : wide(step.valueName), 0,
                                          REG_SZ, reinterpret_cast<const BYTE*>(step.value.c_str()), bytes));
}

HRESULT removeTree(const std::u16string& key) {
  LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, wide(key));
  return absent(status) ? S_OK : fromRegistryError(status);
}

// Keeps a key that other software has put subkeys into.
HRESULT removeKey(const std::u16string& key) {
  unique_hkey opened;
  LSTATUS status = RegOpenKeyExW(HKEY_CLASSES_ROOT, wide(key), 0, KEY_READ, opened.put());
  if (absent(status)) return S_OK;
  if (status != ERROR_SUCCESS) return fromRegistryError(status);
  DWORD subkeys = 0;
  status = RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return fromRegistryError(status);
  opened.reset();
  if (subkeys > 0) return S_OK;
  status = RegDeleteKeyW(HKEY_CLASSES_ROOT, wide(key));
  return absent(status) ? S_OK : fromRegistryError(status);
}

HRESULT runStep(const RegistryStep& step) {
  switch (step.action) {
    case RegistryStep::Action::RemoveTree:
      return removeTree(step.key);
    case RegistryStep::Action::CreateKey: {
      unique_hkey key;
      return createKey(step.key, key);
    }
    case RegistryStep::Action::SetValue:
      return setValue(step);
    case RegistryStep::Action::RemoveKey:
      return removeKey(step.key);
  }
  return E_UNEXPECTED;
}

HRESULT loadOwnTypeLibrary(std::wstring& path, com_ptr<ITypeLib>& library) {
  HRESULT code = ownModulePath(path);
  if (FAILED(code)) return code;
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
}

HRESULT registerTypeLibrary() {
  std::wstring path;
  com_ptr<ITypeLib> library;
  HRESULT code = loadOwnTypeLibrary(path, library);
  if (FAILED(code)) return code;
  return RegisterTypeLib(library.get(), path.data(), nullptr);
}

bool typeLibraryRegistered(REFGUID id, WORD major, WORD minor, LCID locale) {
  unique_bstr path;
  return SUCCEEDED(QueryPathOfRegTypeLib(id, major, minor, locale, path.put()));
}

// As the component's own library says: its id, version, locale and system kind. One that
// is not registered gives TYPE_E_REGISTRYACCESS, as Windows does (Wine's own answer
// would be E_INVALIDARG).
HRESULT unregisterTypeLibrary() {
  std::wstring path;
  com_ptr<ITypeLib> library;
  HRESULT code = loadOwnTypeLibrary(path, library);
  if (FAILED(code)) return code;
  TLIBATTR* attributes = nullptr;
  code = library->GetLibAttr(&attributes);
  if (FAILED(code)) return code;
  const TLIBATTR copy = *attributes;
  library->ReleaseTLibAttr(attributes);
  if (!typeLibraryRegistered(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid)) return TYPE_E_REGISTRYACCESS;
  return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind);
}

// Version 1.0 by its id; one that is not registered (any more) is no failure.
HRESULT unregisterTypeLibraryVersion() {
  GUID id{};
  std::wstring text(typeLibraryId.begin(), typeLibraryId.end());
  HRESULT code = IIDFromString(text.c_str(), &id);
  if (FAILED(code)) return code;
  if (!typeLibraryRegistered(id, typeLibraryMajorVersion, typeLibraryMinorVersion, LOCALE_NEUTRAL)) return S_OK;
  return UnRegisterTypeLib(id, typeLibraryMajorVersion, typeLibraryMinorVersion, LOCALE_NEUTRAL, ownSystemKind);
}

}  // namespace

HRESULT runRegistryScript(const RegistryScript& script) {
  for (const RegistryStep& step : script) {
    HRESULT code = runStep(step);
    if (FAILED(code)) return code;
  }
  return S_OK;
}

HRESULT registerServer() {
  std::wstring path;
  HRESULT code = ownModulePath(path);
  if (FAILED(code)) return code;
  const std::u16string modulePath(path.begin(), path.end());

  (void)runRegistryScript(applicationIdRegistration());  // its outcome is not looked at
  for (const ScriptClass& scriptClass : classTable) {
    code = runRegistryScript(classRegistration(scriptClass, modulePath));
    if (FAILED(code)) return code;
  }
  code = registerTypeLibrary();
  if (FAILED(code)) return code;
  // Registered once more as the framework does; its failure has a code of its own.
  if (FAILED(registerTypeLibrary())) return typeLibraryRegistrationFailed;
  return S_OK;  // the framework's own class list is empty: nothing to register
}

HRESULT unregisterServer() {
  (void)runRegistryScript(applicationIdRemoval());  // its outcome is not looked at
  HRESULT code = S_OK;
  for (const ScriptClass& scriptClass : classTable) {
    code = runRegistryScript(classRemoval(scriptClass));
    if (FAILED(code)) break;
  }
  if (SUCCEEDED(code)) code = unregisterTypeLibrary();
  if (FAILED(code) && code != TYPE_E_REGISTRYACCESS) return code;
  if (FAILED(unregisterTypeLibraryVersion())) return typeLibraryRegistrationFailed;
  return S_OK;  // the framework's own class list is empty: nothing to remove
}

}  // namespace quorlex
