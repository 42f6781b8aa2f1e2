#include "server/dispatch_call.h"

#include <algorithm>
#include <new>

#include "common/unique_bstr.h"

namespace quorlex {
namespace {

constexpr WORD getFlags = DISPATCH_PROPERTYGET | DISPATCH_METHOD;

// The code an automation exception carries; its texts are freed here.
ResultCode exceptionCode(EXCEPINFO& info) {
  if (info.pfnDeferredFillIn) (void)info.pfnDeferredFillIn(&info);
  unique_bstr::attach(info.bstrSource).reset();
  unique_bstr::attach(info.bstrDescription).reset();
  unique_bstr::attach(info.bstrHelpFile).reset();
  return info.scode != 0 ? info.scode : DISP_E_EXCEPTION;
}

}  // namespace

unique_variant textArgument(std::u16string_view text) {
  unique_bstr copy = unique_bstr::from(text);
  if (!copy) throw std::bad_alloc();
  return unique_variant::fromBstr(copy.detach());
}

unique_variant numberArgument(std::int32_t number) { return unique_variant::fromLong(number); }

ResultCode DispatchObject::memberId(const char16_t* member, DISPID& out) const {
  if (!object_) return E_POINTER;
  auto* name = const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(member));
  return object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &out);
}

ResultCode DispatchObject::invoke(DISPID member, WORD flags, DispatchArguments& arguments,
                                  unique_variant* result) const {
  if (!object_) return E_POINTER;
  // Invoke takes the arguments last first.
  std::vector<VARIANT> reversed;
  reversed.reserve(arguments.size());
  std::for_each(arguments.rbegin(), arguments.rend(), [&](unique_variant& argument) { reversed.push_back(*argument.get()); });
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    parameters.rgdispidNamedArgs = &putId;
    parameters.cNamedArgs = 1;
  }
  EXCEPINFO info{};
  UINT argumentError = 0;
  HRESULT code = object_->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                 result ? result->put() : nullptr, &info, &argumentError);
  if (code == DISP_E_EXCEPTION) return exceptionCode(info);
  return code;
}

ResultCode DispatchObject::invokeByName(const char16_t* member, WORD flags, DispatchArguments& arguments,
                                        unique_variant* result) const {
  DISPID id = DISPID_UNKNOWN;
  ResultCode code = memberId(member, id);
  if (!hostSucceeded(code)) return code;
  return invoke(id, flags, arguments, result);
}

ResultCode DispatchObject::getText(const char16_t* member, std::u16string& out, DispatchArguments arguments) const {
  unique_variant result;
  ResultCode code = invokeByName(member, getFlags, arguments, &result);
  if (!hostSucceeded(code)) return code;
  return variantText(*result.get(), out);
}

ResultCode DispatchObject::getNumber(const char16_t* member, std::int32_t& out, DispatchArguments arguments) const {
  unique_variant result;
  ResultCode code = invokeByName(member, getFlags, arguments, &result);
  if (!hostSucceeded(code)) return code;
  return variantNumber(*result.get(), out);
}

ResultCode DispatchObject::getObject(const char16_t* member, com_ptr<IDispatch>& out,
                                     DispatchArguments arguments) const {
  unique_variant result;
  ResultCode code = invokeByName(member, getFlags, arguments, &result);
  if (!hostSucceeded(code)) return code;
  return variantObject(*result.get(), out);
}

ResultCode DispatchObject::putText(const char16_t* member, std::u16string_view value) const {
  DispatchArguments arguments = dispatchArguments(textArgument(value));
  return invokeByName(member, DISPATCH_PROPERTYPUT, arguments, nullptr);
}

ResultCode DispatchObject::call(const char16_t* member, DispatchArguments arguments) const {
  unique_variant ignored;
  return invokeByName(member, DISPATCH_METHOD, arguments, &ignored);
}

ResultCode variantText(const VARIANT& value, std::u16string& out) {
  if (V_VT(&value) == VT_BSTR) {
    out = unique_bstr::view(V_BSTR(&value));
    return resultOk;
  }
  unique_variant converted;
  HRESULT code = VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR);
  if (FAILED(code)) return code;
  out = unique_bstr::view(V_BSTR(converted.get()));
  return resultOk;
}

ResultCode variantNumber(const VARIANT& value, std::int32_t& out) {
  unique_variant converted;
  HRESULT code = VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, VT_I4);
  if (FAILED(code)) return code;
  out = V_I4(converted.get());
  return resultOk;
}

ResultCode variantObject(const VARIANT& value, com_ptr<IDispatch>& out) {
  VARTYPE type = V_VT(&value);
  if (type == VT_DISPATCH || type == (VT_DISPATCH | VT_BYREF)) {
    IDispatch* object = type == VT_DISPATCH ? V_DISPATCH(&value) : *V_DISPATCHREF(&value);
    if (!object) return E_POINTER;
    out = com_ptr<IDispatch>(object);
    return resultOk;
  }
  if (type == VT_UNKNOWN || type == (VT_UNKNOWN | VT_BYREF)) {
    IUnknown* object = type == VT_UNKNOWN ? V_UNKNOWN(&value) : *V_UNKNOWNREF(&value);
    if (!object) return E_POINTER;
    com_ptr<IDispatch> dispatch;
    HRESULT code = object->QueryInterface(IID_IDispatch, dispatch.put_void());
    if (FAILED(code)) return code;
    out = std::move(dispatch);
    return resultOk;
  }
  return DISP_E_TYPEMISMATCH;
}

}  // namespace quorlex
