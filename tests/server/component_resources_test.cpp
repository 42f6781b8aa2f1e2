// The resources quorlex.dll carries (type library, version block, string table), read from
// the file as a host's tools read them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "resources/quorlex_h.h"
#include "resources/string_table.h"
#include "server/class_table.h"

namespace quorlex {
namespace {

// The 64-bit component beside this program; or, where QUORLEX_COMPONENT_32 names it, the
// shipping 32-bit one, whose type library and version block a 64-bit program reads as well.
struct ComponentFile {
  std::wstring path;
  SYSKIND systemKind;
};

ComponentFile componentFile() {
  if (const wchar_t* path32 = _wgetenv(L"QUORLEX_COMPONENT_32"); path32 && *path32) return {path32, SYS_WIN32};
  std::wstring path(MAX_PATH * 4, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return {path.substr(0, path.find_last_of(L'\\') + 1) + L"quorlex.dll", SYS_WIN64};
}

class TypeLibrary : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(LoadTypeLibEx(componentFile().path.c_str(), REGKIND_NONE, library.put()), S_OK); }

  com_ptr<ITypeInfo> typeInfo(REFGUID id) {
    com_ptr<ITypeInfo> info;
    EXPECT_EQ(library->GetTypeInfoOfGuid(id, info.put()), S_OK);
    return info;
  }
  com_ptr<ITypeInfo> typeInfoNamed(const wchar_t* name) {
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
      unique_bstr found;
      if (SUCCEEDED(library->GetDocumentation(static_cast<INT>(i), found.put(), nullptr, nullptr, nullptr)) &&
          found.view() == std::u16string_view(reinterpret_cast<const char16_t*>(name))) {
        com_ptr<ITypeInfo> info;
        EXPECT_EQ(library->GetTypeInfo(i, info.put()), S_OK);
        return info;
      }
    }
    ADD_FAILURE() << "no type named " << testing::PrintToString(std::wstring(name));
    return {};
  }

  com_ptr<ITypeLib> library;
};

struct Slot {
  std::u16string name;
  MEMBERID id;
  INVOKEKIND kind;
  int slot;  // after the three IUnknown and four IDispatch slots
  int parameters;
  bool operator==(const Slot&) const = default;
};

void PrintTo(const Slot& slot, std::ostream* out) {
  *out << testing::PrintToString(slot.name) << " id " << std::hex << slot.id << std::dec << " kind " << slot.kind
       << " slot " << slot.slot << " parameters " << slot.parameters;
}

// The vtable side of a dual interface, in slot order.
std::vector<Slot> slotsOf(ITypeInfo& dispatchSide) {
  HREFTYPE reference = 0;
  com_ptr<ITypeInfo> vtableSide;
  if (FAILED(dispatchSide.GetRefTypeOfImplType(static_cast<UINT>(-1), &reference)) ||
      FAILED(dispatchSide.GetRefTypeInfo(reference, vtableSide.put()))) {
    return {};
  }
  TYPEATTR* attributes = nullptr;
  vtableSide->GetTypeAttr(&attributes);
  const WORD functions = attributes->cFuncs;
  vtableSide->ReleaseTypeAttr(attributes);
  std::vector<Slot> slots;
  for (WORD i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    vtableSide->GetFuncDesc(i, &function);
    unique_bstr name;
    vtableSide->GetDocumentation(function->memid, name.put(), nullptr, nullptr, nullptr);
    slots.push_back({name.text(), function->memid, function->invkind,
                     // The loader gives offsets in this process's pointer size, whatever the file's.
                     static_cast<int>(function->oVft / static_cast<SHORT>(sizeof(void*))), function->cParams});
    vtableSide->ReleaseFuncDesc(function);
  }
  return slots;
}

TEST_F(TypeLibrary, LibraryIdentity) {
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, LIBID_quorlex));
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 0);
  EXPECT_EQ(attributes->syskind, componentFile().systemKind);
  library->ReleaseTLibAttr(attributes);
  unique_bstr name;
  ASSERT_EQ(library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(name.view(), u"quorlex");
}

// An early-bound host calls by slot: the order is fixed, and so are the dispatch ids.
TEST_F(TypeLibrary, ScriptInterfacesAreDualWithTheirSlotsAndDispatchIds) {
  com_ptr<ITypeInfo> release = typeInfo(IID_IKfxReleaseScript);
  ASSERT_TRUE(release);
  EXPECT_EQ(slotsOf(*release.get()), (std::vector<Slot>{
                                   {u"OpenScript", 0x60030000, INVOKE_FUNC, 7, 1},
                                   {u"ReleaseDoc", 0x60030001, INVOKE_FUNC, 8, 1},
                                   {u"CloseScript", 0x60030002, INVOKE_FUNC, 9, 1},
                                   {u"DocumentData", 0x60030003, INVOKE_PROPERTYGET, 10, 1},
                                   {u"DocumentData", 0x60030003, INVOKE_PROPERTYPUTREF, 11, 1},
                               }));
  com_ptr<ITypeInfo> setup = typeInfo(IID_IKfxReleaseSetupScript);
  ASSERT_TRUE(setup);
  EXPECT_EQ(slotsOf(*setup.get()), (std::vector<Slot>{
                                 {u"OpenScript", 0x60020000, INVOKE_FUNC, 7, 1},
                                 {u"RunUI", 0x60020001, INVOKE_FUNC, 8, 1},
                                 {u"CloseScript", 0x60020002, INVOKE_FUNC, 9, 1},
                                 {u"ActionEvent", 0x60020003, INVOKE_FUNC, 10, 4},
                                 {u"SetupData", 0x60020004, INVOKE_PROPERTYGET, 11, 1},
                                 {u"SetupData", 0x60020004, INVOKE_PROPERTYPUTREF, 12, 1},
                             }));
}

// The class table and the type library name the same classes and interfaces.
TEST_F(TypeLibrary, CoclassesMatchTheClassTable) {
  for (const ScriptClass& scriptClass : classTable) {
    const std::wstring classText(scriptClass.classId.begin(), scriptClass.classId.end());
    const std::wstring interfaceText(scriptClass.interfaceId.begin(), scriptClass.interfaceId.end());
    CLSID classId{};
    IID interfaceId{};
    ASSERT_EQ(IIDFromString(classText.c_str(), &classId), S_OK);
    ASSERT_EQ(IIDFromString(interfaceText.c_str(), &interfaceId), S_OK);

    com_ptr<ITypeInfo> coclass = typeInfo(classId);
    ASSERT_TRUE(coclass);
    unique_bstr name;
    coclass->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(name.view(), scriptClass.publishedName);
    INT flags = 0;
    EXPECT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
    HREFTYPE reference = 0;
    com_ptr<ITypeInfo> implemented;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &reference), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, implemented.put()), S_OK);
    TYPEATTR* attributes = nullptr;
    implemented->GetTypeAttr(&attributes);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, interfaceId));
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
    implemented->ReleaseTypeAttr(attributes);
    unique_bstr interfaceName;
    implemented->GetDocumentation(MEMBERID_NIL, interfaceName.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(interfaceName.view(), scriptClass.interfaceName);
  }
  EXPECT_TRUE(IsEqualCLSID(CLSID_QuorlexExportConnector, __uuidof(QuorlexExportConnector)));
}

// Neither dual nor oleautomation: registering the library leaves their interface keys,
// two of which carry the host's own ids, to the host.
TEST_F(TypeLibrary, HostInterfacesAreDescribedButNotForRegistration) {
  for (const IID* id : {&IID_IReleaseData, &IID_IReleaseSetupData, &IID_IRowValues, &IID_IValueNameCollection,
                        &IID_IValueNameCollectionAlternate, &IID_IValues, &IID_ILinks}) {
    com_ptr<ITypeInfo> info = typeInfo(*id);
    ASSERT_TRUE(info);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_EQ(attributes->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION), 0);
    info->ReleaseTypeAttr(attributes);
  }
}

TEST_F(TypeLibrary, Enumerations) {
  struct Enumeration {
    const wchar_t* name;
    std::vector<std::pair<std::u16string, LONG>> members;
  };
  std::vector<std::pair<std::u16string, LONG>> actions{{u"KFX_REL_UNDEFINED_ACTION", -1}};
  const char16_t* actionNames[] = {u"KFX_REL_DOCCLASS_RENAME",   u"KFX_REL_BATCHCLASS_RENAME",   u"KFX_REL_INDEXFIELD_DELETE",
                                   u"KFX_REL_INDEXFIELD_INSERT", u"KFX_REL_INDEXFIELD_RENAME",   u"KFX_REL_BATCHFIELD_DELETE",
                                   u"KFX_REL_BATCHFIELD_INSERT", u"KFX_REL_BATCHFIELD_RENAME",   u"KFX_REL_RELEASESETUP_DELETE",
                                   u"KFX_REL_IMPORT",            u"KFX_REL_UPGRADE",             u"KFX_REL_PUBLISH_CHECK",
                                   u"KFX_REL_START",             u"KFX_REL_END",                 u"KFX_REL_FOLDERCLASS_INSERT",
                                   u"KFX_REL_FOLDERCLASS_RENAME", u"KFX_REL_FOLDERCLASS_DELETE", u"KFX_REL_TABLE_DELETE",
                                   u"KFX_REL_TABLE_INSERT",      u"KFX_REL_TABLE_RENAME"};
  for (LONG value = 0; value < 20; ++value) actions.emplace_back(actionNames[value], value);
  const Enumeration enumerations[] = {
      {L"KfxReturnValue", {{u"KFX_REL_SUCCESS", 0}, {u"KFX_REL_ERROR", -1}, {u"KFX_REL_UNSUPPORTED", 4}}},
      {L"KfxLinkSourceType",
       {{u"KFX_REL_UNDEFINED_LINK", -1}, {u"KFX_REL_INDEXFIELD", 0}, {u"KFX_REL_TEXTCONSTANT", 1},
        {u"KFX_REL_VARIABLE", 2}, {u"KFX_REL_BATCHFIELD", 3}}},
      {L"KfxActionValue", actions},
  };
  for (const Enumeration& enumeration : enumerations) {
    com_ptr<ITypeInfo> info = typeInfoNamed(enumeration.name);
    ASSERT_TRUE(info);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const WORD count = attributes->cVars;
    EXPECT_EQ(attributes->typekind, TKIND_ENUM);
    info->ReleaseTypeAttr(attributes);
    std::vector<std::pair<std::u16string, LONG>> members;
    for (WORD i = 0; i < count; ++i) {
      VARDESC* variable = nullptr;
      info->GetVarDesc(i, &variable);
      unique_bstr name;
      info->GetDocumentation(variable->memid, name.put(), nullptr, nullptr, nullptr);
      members.emplace_back(name.text(), V_I4(variable->lpvarValue));
      info->ReleaseVarDesc(variable);
    }
    EXPECT_EQ(members, enumeration.members) << testing::PrintToString(std::wstring(enumeration.name));
  }
}

TEST(VersionResource, TheComponentCarriesItsProductVersion) {
  const std::wstring path = componentFile().path;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);  // 1.0
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);  // .0.0
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST(StringTable, TheResourcesHoldTheTableTheCodeReads) {
  HMODULE file = LoadLibraryExW(componentFile().path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  for (const ComponentString& entry : componentStrings()) {
    const wchar_t* text = nullptr;
    // With no buffer, LoadString gives the resource's own text and its length.
    int length = LoadStringW(file, entry.id, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_GT(length, 0) << entry.id;
    EXPECT_EQ(std::u16string_view(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length)),
              entry.text)
        << entry.id;
  }
  FreeLibrary(file);
}

}  // namespace
}  // namespace quorlex
