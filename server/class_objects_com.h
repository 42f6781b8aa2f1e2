#pragma once
// The component's class objects, one per class of the class table, each created on first
// request under the module's lock and kept until the component unloads.

#include <unknwn.h>

namespace quorlex {

// CLASS_E_CLASSNOTAVAILABLE for a class id outside the class table, or for a class whose
// objects cannot be created yet; out is then null.
HRESULT getClassObject(REFCLSID classId, REFIID iid, void** out);

}  // namespace quorlex
