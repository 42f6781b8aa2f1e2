#pragma once
// Invoke for the script objects, by dispatch id. Late-bound hosts differ in how they call,
// so besides what the type library describes this accepts:
//  - the KfxReturnValue as a trailing by-reference argument, or as the call's result, or both;
//  - the host's data object set by reference (putref) or by plain assignment (put).
// The script's own methods do the work; these only unpack and pack arguments.

#include <oaidl.h>

#include <functional>

#include "common/com_ptr.h"

namespace quorlex {

// A method taking `inputs` leading arguments and giving its KfxReturnValue.
// call receives the arguments in declared order.
using ResultMethod = std::function<HRESULT(const VARIANT* const* inputs, LONG* result)>;
HRESULT invokeResultMethod(WORD flags, DISPPARAMS* parameters, VARIANT* result, UINT* argumentError,
                           unsigned inputs, const ResultMethod& call);

// An object property: get gives the object (or null), set takes it (or null).
using ObjectGetter = std::function<HRESULT(com_ptr<IDispatch>& out)>;
using ObjectSetter = std::function<HRESULT(IDispatch* object)>;
HRESULT invokeObjectProperty(WORD flags, DISPPARAMS* parameters, VARIANT* result, UINT* argumentError,
                             const ObjectGetter& get, const ObjectSetter& set);

// GetTypeInfo and GetIDsOfNames from the type library's description of one interface.
HRESULT scriptTypeInfo(REFIID interfaceId, UINT index, ITypeInfo** out);
HRESULT scriptIdsOfNames(REFIID interfaceId, REFIID iid, LPOLESTR* names, UINT count, DISPID* ids);

}  // namespace quorlex
