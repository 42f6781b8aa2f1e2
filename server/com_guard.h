#pragma once
// Runs one method body of a COM object so that no exception leaves it: memory running out
// becomes E_OUTOFMEMORY, anything else E_UNEXPECTED.

#include <winerror.h>

#include <new>

namespace quorlex {

template <class Body>
HRESULT guardedCall(Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace quorlex
