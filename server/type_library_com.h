#pragma once
// The type library carried as TYPELIB 1 in the module that holds this code: the component
// itself, or a test program linked with the component's resources.

#include <oaidl.h>

#include <string>

#include "common/com_ptr.h"

namespace quorlex {

// The full path of the module that holds this code.
HRESULT ownModulePath(std::wstring& out);

// Loaded once (without registering it) and kept for the life of the module.
HRESULT ownTypeLibrary(com_ptr<ITypeLib>& out);

// The type information of one interface of the library; for a dual interface, its
// dispatch side.
HRESULT ownTypeInfo(REFGUID interfaceId, com_ptr<ITypeInfo>& out);

}  // namespace quorlex
