// Our declarations of the WinHTTP and MSXML interfaces against the platform's own objects:
// every slot the transport calls sits where the object's type information puts it.
#include "gateway/msxml_interfaces.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "gateway/winhttp_interfaces.h"

namespace quorlex {
namespace {

using Slots = std::map<std::pair<std::wstring, INVOKEKIND>, SHORT>;

// A pointer to a virtual member function holds 1 + the function's byte offset in the vtable
// (the Itanium C++ ABI, which GCC keeps on Windows too).
template <class Method>
SHORT declaredOffset(Method method) {
  struct Representation {
    std::ptrdiff_t pointer;
    std::ptrdiff_t adjustment;
  };
  static_assert(sizeof(Method) == sizeof(Representation));
  Representation raw;
  std::memcpy(&raw, &method, sizeof raw);
  return static_cast<SHORT>(raw.pointer - 1);
}

// The vtable offsets of an interface and of those it derives from, by name and kind.
void collectSlots(ITypeInfo& info, Slots& slots) {
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(info.GetTypeAttr(&attributes), S_OK);
  for (UINT i = 0; i < attributes->cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(info.GetFuncDesc(i, &function), S_OK);
    unique_bstr name;
    UINT count = 0;
    ASSERT_EQ(info.GetNames(function->memid, name.put(), 1, &count), S_OK);
    slots[{std::wstring(name.get()), function->invkind}] = function->oVft;
    info.ReleaseFuncDesc(function);
  }
  WORD bases = attributes->cImplTypes;
  info.ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < bases; ++i) {
    HREFTYPE reference = 0;
    com_ptr<ITypeInfo> base;
    ASSERT_EQ(info.GetRefTypeOfImplType(i, &reference), S_OK);
    ASSERT_EQ(info.GetRefTypeInfo(reference, base.put()), S_OK);
    collectSlots(*base.get(), slots);
  }
}

// The slots of the object's dual interface, through its vtable side.
Slots platformSlots(IDispatch& object) {
  Slots slots;
  com_ptr<ITypeInfo> dispatchSide;
  EXPECT_EQ(object.GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatchSide.put()), S_OK);
  if (!dispatchSide) return slots;
  com_ptr<ITypeInfo> vtableSide = dispatchSide;
  HREFTYPE reference = 0;
  if (SUCCEEDED(dispatchSide->GetRefTypeOfImplType(static_cast<UINT>(-1), &reference))) {
    EXPECT_EQ(dispatchSide->GetRefTypeInfo(reference, vtableSide.put()), S_OK);
  }
  collectSlots(*vtableSide.get(), slots);
  return slots;
}

struct Expected {
  const wchar_t* name;
  INVOKEKIND kind;
  SHORT offset;
};

void expectSlots(const Slots& platform, std::initializer_list<Expected> declared) {
  for (const Expected& slot : declared) {
    auto found = platform.find({slot.name, slot.kind});
    ASSERT_NE(found, platform.end()) << "the platform's type information has no " << slot.name;
    EXPECT_EQ(found->second, slot.offset) << slot.name;
  }
}

constexpr INVOKEKIND method = INVOKE_FUNC;
constexpr INVOKEKIND get = INVOKE_PROPERTYGET;
constexpr INVOKEKIND put = INVOKE_PROPERTYPUT;

TEST(WinHttpInterfaces, RequestSlotsMatchThePlatform) {
  com_ptr<winhttp::IWinHttpRequest> request;
  ASSERT_EQ(CoCreateInstance(winhttp::clsidWinHttpRequest, nullptr, CLSCTX_INPROC_SERVER, winhttp::iidWinHttpRequest,
                             request.put_void()),
            S_OK);
  using R = winhttp::IWinHttpRequest;
  expectSlots(platformSlots(*request.get()),
              {{L"SetCredentials", method, declaredOffset(&R::SetCredentials)},
               {L"Open", method, declaredOffset(&R::Open)},
               {L"SetRequestHeader", method, declaredOffset(&R::SetRequestHeader)},
               {L"GetResponseHeader", method, declaredOffset(&R::GetResponseHeader)},
               {L"Send", method, declaredOffset(&R::Send)},
               {L"Status", get, declaredOffset(&R::get_Status)},
               {L"StatusText", get, declaredOffset(&R::get_StatusText)},
               {L"ResponseText", get, declaredOffset(&R::get_ResponseText)},
               {L"ResponseBody", get, declaredOffset(&R::get_ResponseBody)},
               {L"Option", put, declaredOffset(&R::put_Option)},
               {L"SetTimeouts", method, declaredOffset(&R::SetTimeouts)},
               {L"SetAutoLogonPolicy", method, declaredOffset(&R::SetAutoLogonPolicy)}});
}

TEST(MsxmlInterfaces, DocumentSlotsMatchThePlatform) {
  com_ptr<msxml::IXMLDOMDocument2> document;
  ASSERT_EQ(CoCreateInstance(msxml::clsidDomDocument, nullptr, CLSCTX_INPROC_SERVER, msxml::iidXmlDomDocument2,
                             document.put_void()),
            S_OK);
  using D = msxml::IXMLDOMDocument2;
  using N = msxml::IXMLDOMNode;
  expectSlots(platformSlots(*document.get()),
              {{L"text", get, declaredOffset(&N::get_text)},
               {L"selectSingleNode", method, declaredOffset(&N::selectSingleNode)},
               {L"transformNodeToObject", method, declaredOffset(&N::transformNodeToObject)},
               {L"async", put, declaredOffset(&D::put_async)},
               {L"loadXML", method, declaredOffset(&D::loadXML)},
               {L"validateOnParse", put, declaredOffset(&D::put_validateOnParse)},
               {L"resolveExternals", put, declaredOffset(&D::put_resolveExternals)},
               {L"ontransformnode", put, declaredOffset(&D::put_ontransformnode)},
               {L"setProperty", method, declaredOffset(&D::setProperty)},
               {L"getProperty", method, declaredOffset(&D::getProperty)}});
}

}  // namespace
}  // namespace quorlex
