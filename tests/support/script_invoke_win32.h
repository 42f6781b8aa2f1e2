#pragma once
// Calling a script object the way a late-bound host does: IDispatch::Invoke by dispatch id,
// with the arguments given in declared order, and the VARIANTs such hosts pass.

#include <oaidl.h>

#include <algorithm>
#include <vector>

namespace quorlex::test_support {

inline HRESULT invokeScript(IDispatch& dispatch, DISPID member, WORD flags, std::vector<VARIANT> arguments,
                            VARIANT* result, std::vector<DISPID> named = {}) {
  std::reverse(arguments.begin(), arguments.end());  // Invoke lists the last argument first
  DISPPARAMS parameters{arguments.data(), named.data(), static_cast<UINT>(arguments.size()),
                        static_cast<UINT>(named.size())};
  UINT argumentError = 0;
  return dispatch.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, nullptr, &argumentError);
}

inline VARIANT byReference(LONG* target) {
  VARIANT argument;
  V_VT(&argument) = VT_BYREF | VT_I4;
  V_I4REF(&argument) = target;
  return argument;
}

inline VARIANT objectArgument(IDispatch* value) {
  VARIANT argument;
  V_VT(&argument) = VT_DISPATCH;
  V_DISPATCH(&argument) = value;  // borrowed: the callee takes its own reference
  return argument;
}

}  // namespace quorlex::test_support
