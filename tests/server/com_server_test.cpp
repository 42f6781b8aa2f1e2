// The component as a host meets it: quorlex.dll (built beside this program) registered with
// regsvr32 in the private prefix, its class objects, aggregation, unloading, its type
// library and its version block.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/com_apartment.h"
#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "common/unique_handle.h"
#include "common/unique_hkey.h"
#include "resources/quorlex_h.h"
#include "server/class_table.h"

namespace quorlex {
namespace {

using GetClassObjectEntry = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using PlainEntry = HRESULT(STDAPICALLTYPE*)();

constexpr const wchar_t* appId = L"{EE0D74DB-D178-4352-9CEE-31B29287A6DC}";
constexpr const wchar_t* libraryId = L"{FB323C24-1BA6-49F6-945C-3EAB08374CD2}";
constexpr const wchar_t* releaseClassKey = L"CLSID\\{741DD025-7592-4713-A316-E86A5C56844C}";
constexpr const wchar_t* setupClassKey = L"CLSID\\{50C19132-29B3-4a01-AA88-762CFDE9B821}";

std::wstring componentPath() {
  std::wstring path(MAX_PATH * 4, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"quorlex.dll";
}

// By its undecorated name, as a host finds it.
template <class Entry>
Entry entryPoint(HMODULE module, const char* name) {
  return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The component, loaded once for the whole program (as a host keeps it).
struct Component {
  HMODULE module = nullptr;
  std::wstring path;
  GetClassObjectEntry getClassObject = nullptr;
  PlainEntry canUnloadNow = nullptr, registerServer = nullptr, unregisterServer = nullptr;
};

const Component& component() {
  static const Component loaded = [] {
    Component c;
    c.module = LoadLibraryW(componentPath().c_str());
    if (!c.module) return c;
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(GetModuleFileNameW(c.module, path.data(), static_cast<DWORD>(path.size())));
    c.path = path;
    c.getClassObject = entryPoint<GetClassObjectEntry>(c.module, "DllGetClassObject");
    c.canUnloadNow = entryPoint<PlainEntry>(c.module, "DllCanUnloadNow");
    c.registerServer = entryPoint<PlainEntry>(c.module, "DllRegisterServer");
    c.unregisterServer = entryPoint<PlainEntry>(c.module, "DllUnregisterServer");
    return c;
  }();
  return loaded;
}

// regsvr32's exit status: 0 done, 3 not loadable, 4 no entry point, 5 the entry point failed.
DWORD regsvr32(const std::wstring& options) {
  std::wstring command = L"regsvr32.exe /s " + options + L" \"" + component().path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 0xFFFFFFFF;
  }
  unique_handle processHandle(process.hProcess), threadHandle(process.hThread);
  WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD status = 0xFFFFFFFF;
  GetExitCodeProcess(processHandle.get(), &status);
  return status;
}

bool keyExists(const std::wstring& key) {
  unique_hkey opened;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

// The text value; empty optional when it is not there.
std::optional<std::wstring> textValue(const std::wstring& key, const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring text(bytes / sizeof(wchar_t), L'\0');
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  text.resize(bytes / sizeof(wchar_t) - 1);
  return text;
}

DWORD valueCount(const std::wstring& key) {
  unique_hkey opened;
  DWORD values = 0xFFFFFFFF;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS) {
    RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
  }
  return values;
}

bool equalPaths(const std::wstring& a, const std::wstring& b) { return _wcsicmp(a.c_str(), b.c_str()) == 0; }

struct ExpectedValue {
  std::wstring key;
  const wchar_t* name;  // null for the default value
  std::wstring value;
};

std::vector<ExpectedValue> expectedEntries() {
  const std::wstring module = component().path;
  std::vector<ExpectedValue> entries{
      {std::wstring(L"AppID\\") + appId, nullptr, L"quorlex"},
      {L"AppID\\quorlex.DLL", L"AppID", appId},
  };
  struct Class {
    std::wstring key, classId, progId;
  };
  for (const Class& c : {Class{releaseClassKey, L"{741DD025-7592-4713-A316-E86A5C56844C}", L"quorlex.QuorlexExportConnector"},
                         Class{setupClassKey, L"{50C19132-29B3-4a01-AA88-762CFDE9B821}", L"quorlex.TarvSetupScript"}}) {
    entries.push_back({c.progId + L"\\CLSID", nullptr, c.classId});
    entries.push_back({c.key, nullptr, c.progId});
    entries.push_back({c.key, L"AppID", appId});
    entries.push_back({c.key + L"\\ProgID", nullptr, c.progId});
    entries.push_back({c.key + L"\\InprocServer32", nullptr, module});
    entries.push_back({c.key + L"\\InprocServer32", L"ThreadingModel", L"Both"});
    entries.push_back({c.key + L"\\TypeLib", nullptr, libraryId});
  }
  return entries;
}

const wchar_t* const everyKey[] = {
    L"AppID\\{EE0D74DB-D178-4352-9CEE-31B29287A6DC}", L"AppID\\quorlex.DLL",
    L"quorlex.QuorlexExportConnector", L"quorlex.TarvSetupScript", releaseClassKey, setupClassKey,
    L"TypeLib\\{FB323C24-1BA6-49F6-945C-3EAB08374CD2}", L"Interface\\{D0B556C8-975C-4D36-B855-0DD1AB0B6255}",
    L"Interface\\{5F5E61B2-0B35-4616-BABE-3DCDC12D5E11}",
};

void expectRegistered() {
  for (const ExpectedValue& entry : expectedEntries()) {
    std::optional<std::wstring> value = textValue(entry.key, entry.name);
    ASSERT_TRUE(value.has_value()) << "missing: " << testing::PrintToString(entry.key) << " "
                                   << (entry.name ? testing::PrintToString(std::wstring(entry.name)) : "(default)");
    if (entry.name == nullptr && entry.key.ends_with(L"InprocServer32")) {
      EXPECT_TRUE(equalPaths(*value, entry.value)) << testing::PrintToString(*value);
    } else {
      EXPECT_EQ(*value, entry.value) << testing::PrintToString(entry.key);
    }
  }
  for (const wchar_t* classKey : {releaseClassKey, setupClassKey}) {
    const std::wstring key(classKey);
    EXPECT_EQ(valueCount(key), 2u);  // default and AppID
    EXPECT_EQ(valueCount(key + L"\\Programmable"), 0u);
    EXPECT_EQ(valueCount(key + L"\\InprocServer32"), 2u);
  }
  EXPECT_EQ(valueCount(L"quorlex.QuorlexExportConnector"), 0u);

  // The type library, registered from the component's own file.
  const std::wstring library = std::wstring(L"TypeLib\\") + libraryId + L"\\1.0";
  EXPECT_EQ(textValue(library, nullptr), L"quorlex 1.0 Type Library");
  std::optional<std::wstring> libraryPath = textValue(library + L"\\0\\win64", nullptr);
  ASSERT_TRUE(libraryPath.has_value());
  EXPECT_TRUE(equalPaths(*libraryPath, component().path));
  for (const wchar_t* scriptInterface : {L"Interface\\{D0B556C8-975C-4D36-B855-0DD1AB0B6255}\\TypeLib",
                                         L"Interface\\{5F5E61B2-0B35-4616-BABE-3DCDC12D5E11}\\TypeLib"}) {
    EXPECT_EQ(textValue(scriptInterface, nullptr), libraryId);
  }
  // The host's interface ids stay the host's to register.
  for (const wchar_t* hostInterface : {L"Interface\\{2044A7E0-C29E-49E1-A862-AAB6020ED02F}",
                                       L"Interface\\{2F8DEB57-941D-4E2C-81B5-D16E3B82C2C8}",
                                       L"Interface\\{852FDE3C-8C75-4550-9749-07F8FF6CE9B1}"}) {
    EXPECT_FALSE(keyExists(hostInterface)) << testing::PrintToString(std::wstring(hostInterface));
  }
}

void expectUnregistered() {
  for (const wchar_t* key : everyKey) EXPECT_FALSE(keyExists(key)) << testing::PrintToString(std::wstring(key));
  EXPECT_TRUE(keyExists(L"AppID"));
  EXPECT_TRUE(keyExists(L"CLSID"));
}

class ComServer : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(component().module, nullptr) << "quorlex.dll not loadable beside the test program";
    ASSERT_TRUE(component().getClassObject && component().canUnloadNow && component().registerServer &&
                component().unregisterServer);
  }
  ComApartment apartment;
};

class Registration : public ComServer {
 protected:
  void TearDown() override { (void)component().unregisterServer(); }
};

TEST_F(Registration, Regsvr32WritesEveryEntryAndRemovesThemAgain) {
  ASSERT_EQ(regsvr32(L""), 0u);
  expectRegistered();

  // A host finds the component by ProgID and gets the very class object the module caches.
  CLSID classId{};
  ASSERT_EQ(CLSIDFromProgID(L"quorlex.QuorlexExportConnector", &classId), S_OK);
  EXPECT_TRUE(IsEqualCLSID(classId, CLSID_QuorlexExportConnector));
  com_ptr<IClassFactory> viaCom, viaEntry;
  ASSERT_EQ(CoGetClassObject(classId, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, viaCom.put_void()), S_OK);
  ASSERT_EQ(component().getClassObject(classId, IID_IClassFactory, viaEntry.put_void()), S_OK);
  EXPECT_EQ(viaCom.get(), viaEntry.get());
  com_ptr<IKfxReleaseScript> script;
  ASSERT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IKfxReleaseScript, script.put_void()), S_OK);
  KfxReturnValue result = KFX_REL_ERROR;
  EXPECT_EQ(script->OpenScript(&result), S_OK);
  EXPECT_EQ(result, KFX_REL_SUCCESS);

  // The setup script, as the administration module creates it.
  ASSERT_EQ(CLSIDFromProgID(L"quorlex.TarvSetupScript", &classId), S_OK);
  EXPECT_TRUE(IsEqualCLSID(classId, CLSID_TarvSetupScript));
  com_ptr<IKfxReleaseSetupScript> setup;
  ASSERT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IKfxReleaseSetupScript, setup.put_void()),
            S_OK);
  result = KFX_REL_ERROR;
  EXPECT_EQ(setup->OpenScript(&result), S_OK);
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  setup = nullptr;
  com_ptr<ITypeLib> registered;
  EXPECT_EQ(LoadRegTypeLib(LIBID_quorlex, 1, 0, LOCALE_NEUTRAL, registered.put()), S_OK);

  ASSERT_EQ(regsvr32(L"/u"), 0u);
  expectUnregistered();
  ASSERT_EQ(regsvr32(L"/u"), 0u);  // nothing left to remove is no failure
  expectUnregistered();
}

TEST_F(Registration, RegisteringAgainLeavesOneSetAndNoStaleSubkeys) {
  ASSERT_EQ(component().registerServer(), S_OK);
  // Left behind by some earlier registration: gone once the class key is written again.
  unique_hkey stale;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(releaseClassKey) + L"\\LocalServer32").c_str(), 0, nullptr,
                            0, KEY_WRITE, nullptr, stale.put(), nullptr),
            ERROR_SUCCESS);
  stale.reset();
  ASSERT_EQ(component().registerServer(), S_OK);
  EXPECT_FALSE(keyExists(std::wstring(releaseClassKey) + L"\\LocalServer32"));
  expectRegistered();
  ASSERT_EQ(component().unregisterServer(), S_OK);
  expectUnregistered();
}

TEST_F(Registration, AProgIdKeyOthersWroteIntoIsKept) {
  ASSERT_EQ(component().registerServer(), S_OK);
  unique_hkey foreign;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"quorlex.QuorlexExportConnector\\CurVer", 0, nullptr, 0, KEY_WRITE,
                            nullptr, foreign.put(), nullptr),
            ERROR_SUCCESS);
  foreign.reset();
  ASSERT_EQ(component().unregisterServer(), S_OK);
  EXPECT_TRUE(keyExists(L"quorlex.QuorlexExportConnector\\CurVer"));
  EXPECT_FALSE(keyExists(L"quorlex.QuorlexExportConnector\\CLSID"));
  EXPECT_FALSE(keyExists(releaseClassKey));
  EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L"quorlex.QuorlexExportConnector"), ERROR_SUCCESS);
}

TEST_F(ComServer, OneClassObjectPerClassForTheLifeOfTheComponent) {
  com_ptr<IClassFactory> first, second;
  com_ptr<IUnknown> identity;
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, first.put_void()), S_OK);
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IUnknown, identity.put_void()), S_OK);
  first = nullptr;
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, second.put_void()), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(second.get()), identity.get());
}

TEST_F(ComServer, UnknownClassesAndMissingOutParameters) {
  struct Case {
    const char* what;
    REFCLSID classId;
    HRESULT expected;
  };
  const Case cases[] = {
      {"not in the class table", IID_IDispatch, CLASS_E_CLASSNOTAVAILABLE},
      {"an interface id, not a class", IID_IKfxReleaseSetupScript, CLASS_E_CLASSNOTAVAILABLE},
  };
  for (const Case& c : cases) {
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(component().getClassObject(c.classId, IID_IClassFactory, &out), c.expected) << c.what;
    EXPECT_EQ(out, nullptr) << c.what;
  }
  EXPECT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, nullptr), E_POINTER);
  void* out = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
}

// An outer object that keeps count of what its inner object delegates to it.
class OuterObject final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    ++queries;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(this);
      AddRef();
      return S_OK;
    }
    return inner ? inner->QueryInterface(iid, out) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }

  com_ptr<IUnknown> inner;
  long references = 1;
  int queries = 0;
};

TEST_F(ComServer, AggregationHandsOutOnlyTheInnerUnknownAndDelegatesToTheOuterObject) {
  com_ptr<IClassFactory> factory;
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, factory.put_void()), S_OK);
  OuterObject outer;
  void* refused = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IKfxReleaseScript, &refused), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(refused, nullptr);

  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, outer.inner.put_void()), S_OK);
  EXPECT_EQ(outer.references, 1);  // creating the inner object takes no reference on the outer one
  com_ptr<IKfxReleaseScript> script;
  ASSERT_EQ(outer.QueryInterface(IID_IKfxReleaseScript, script.put_void()), S_OK);
  EXPECT_EQ(outer.references, 2);  // the interface's reference is the outer object's

  com_ptr<IUnknown> identity;
  ASSERT_EQ(script->QueryInterface(IID_IUnknown, identity.put_void()), S_OK);
  EXPECT_EQ(identity.get(), static_cast<IUnknown*>(&outer));
  EXPECT_GE(outer.queries, 2);
  identity = nullptr;
  script = nullptr;
  EXPECT_EQ(outer.references, 1);

  factory = nullptr;
  EXPECT_EQ(component().canUnloadNow(), S_FALSE);  // the inner object is alive
  outer.inner = nullptr;
  EXPECT_EQ(component().canUnloadNow(), S_OK);
}

TEST_F(ComServer, APlainInstanceHasOneIdentity) {
  com_ptr<IClassFactory> factory;
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, factory.put_void()), S_OK);
  com_ptr<IKfxReleaseScript> script;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IKfxReleaseScript, script.put_void()), S_OK);
  com_ptr<IDispatch> dispatch = script.try_query<IDispatch>();
  ASSERT_TRUE(dispatch);
  EXPECT_EQ(static_cast<IDispatch*>(script.get()), dispatch.get());  // dual: one vtable
  EXPECT_EQ(script.try_query<IUnknown>().get(), dispatch.try_query<IUnknown>().get());
  EXPECT_FALSE(script.try_query<IClassFactory>());
}

TEST_F(ComServer, CanUnloadOnlyWhenNoObjectOrLockIsLeft) {
  ASSERT_EQ(component().canUnloadNow(), S_OK);
  com_ptr<IClassFactory> factory;
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, factory.put_void()), S_OK);
  EXPECT_EQ(component().canUnloadNow(), S_FALSE);  // a host holds the class object
  com_ptr<IKfxReleaseScript> first, second;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IKfxReleaseScript, first.put_void()), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IKfxReleaseScript, second.put_void()), S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory = nullptr;
  EXPECT_EQ(component().canUnloadNow(), S_FALSE);
  first = nullptr;
  EXPECT_EQ(component().canUnloadNow(), S_FALSE);
  second = nullptr;
  EXPECT_EQ(component().canUnloadNow(), S_FALSE);  // the server lock
  ASSERT_EQ(component().getClassObject(CLSID_QuorlexExportConnector, IID_IClassFactory, factory.put_void()), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory = nullptr;
  EXPECT_EQ(component().canUnloadNow(), S_OK);  // after the last release
}

}  // namespace
}  // namespace quorlex
