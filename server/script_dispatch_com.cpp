#include "server/script_dispatch_com.h"

#include <vector>

#include "server/host_objects.h"
#include "server/type_library_com.h"

namespace quorlex {
namespace {

// The argument at declared position `index` (Invoke passes them last first).
VARIANT* argumentAt(DISPPARAMS& parameters, unsigned index) {
  return &parameters.rgvarg[parameters.cArgs - 1 - index];
}

// A by-reference argument able to take a 32-bit integer.
bool canTakeResult(const VARIANT& argument) {
  VARTYPE type = V_VT(&argument);
  return type == (VT_BYREF | VT_I4) || type == (VT_BYREF | VT_INT) || type == (VT_BYREF | VT_VARIANT);
}

void storeResult(VARIANT& argument, LONG value) {
  switch (V_VT(&argument)) {
    case VT_BYREF | VT_I4:
      *V_I4REF(&argument) = value;
      break;
    case VT_BYREF | VT_INT:
      *V_INTREF(&argument) = value;
      break;
    default: {  // VT_BYREF | VT_VARIANT
      VARIANT* target = V_VARIANTREF(&argument);
      (void)VariantClear(target);
      V_VT(target) = VT_I4;
      V_I4(target) = value;
    }
  }
}

// The object a property put hands over; null for Nothing or an empty value.
HRESULT objectArgument(const VARIANT& argument, com_ptr<IDispatch>& out) {
  const VARIANT& value = V_VT(&argument) == (VT_BYREF | VT_VARIANT) ? *V_VARIANTREF(&argument) : argument;
  switch (V_VT(&value)) {
    case VT_EMPTY:
    case VT_NULL:
      out = nullptr;
      return S_OK;
    case VT_DISPATCH:
      out = com_ptr<IDispatch>(V_DISPATCH(&value));
      return S_OK;
    case VT_DISPATCH | VT_BYREF:
      out = com_ptr<IDispatch>(*V_DISPATCHREF(&value));
      return S_OK;
    case VT_UNKNOWN:
    case VT_UNKNOWN | VT_BYREF: {
      IUnknown* object = V_VT(&value) == VT_UNKNOWN ? V_UNKNOWN(&value) : *V_UNKNOWNREF(&value);
      out = nullptr;
      if (!object) return S_OK;
      return SUCCEEDED(object->QueryInterface(IID_IDispatch, out.put_void())) ? S_OK : DISP_E_TYPEMISMATCH;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

HRESULT invokeResultMethod(WORD flags, DISPPARAMS* parameters, VARIANT* result, UINT* argumentError,
                           unsigned inputs, const ResultMethod& call) {
  if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  if (!parameters) return E_INVALIDARG;
  if (parameters->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  const unsigned count = parameters->cArgs;
  if (count != inputs && count != inputs + 1) return DISP_E_BADPARAMCOUNT;
  VARIANT* resultArgument = count == inputs + 1 ? argumentAt(*parameters, inputs) : nullptr;
  if (resultArgument && !canTakeResult(*resultArgument)) {
    if (argumentError) *argumentError = 0;  // the last argument, which Invoke lists first
    return DISP_E_TYPEMISMATCH;
  }
  std::vector<const VARIANT*> declared;
  declared.reserve(inputs);
  for (unsigned i = 0; i < inputs; ++i) declared.push_back(argumentAt(*parameters, i));

  LONG value = KFX_REL_ERROR;
  HRESULT code = call(declared.data(), &value);
  if (FAILED(code)) {
    // The host's variable never keeps a success it had before the call.
    if (resultArgument) storeResult(*resultArgument, KFX_REL_ERROR);
    return code;
  }
  if (resultArgument) storeResult(*resultArgument, value);
  if (result) {
    V_VT(result) = VT_I4;
    V_I4(result) = value;
  }
  return S_OK;
}

HRESULT invokeObjectProperty(WORD flags, DISPPARAMS* parameters, VARIANT* result, UINT* argumentError,
                             const ObjectGetter& get, const ObjectSetter& set) {
  if (!parameters) return E_INVALIDARG;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (parameters->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (parameters->cNamedArgs > 1 ||
        (parameters->cNamedArgs == 1 && parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)) {
      return DISP_E_PARAMNOTFOUND;
    }
    com_ptr<IDispatch> object;
    if (FAILED(objectArgument(parameters->rgvarg[0], object))) {
      if (argumentError) *argumentError = 0;
      return DISP_E_TYPEMISMATCH;
    }
    return set(object.get());
  }
  if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) return DISP_E_MEMBERNOTFOUND;
  if (parameters->cArgs != 0) return DISP_E_BADPARAMCOUNT;
  com_ptr<IDispatch> object;
  HRESULT code = get(object);
  if (FAILED(code)) return code;
  if (result) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = object.detach();
  }
  return S_OK;
}

HRESULT scriptTypeInfo(REFIID interfaceId, UINT index, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  com_ptr<ITypeInfo> info;
  HRESULT code = ownTypeInfo(interfaceId, info);
  if (FAILED(code)) return code;
  *out = info.detach();
  return S_OK;
}

HRESULT scriptIdsOfNames(REFIID interfaceId, REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  com_ptr<ITypeInfo> info;
  HRESULT code = ownTypeInfo(interfaceId, info);
  if (FAILED(code)) return code;
  return DispGetIDsOfNames(info.get(), names, count, ids);
}

}  // namespace quorlex
