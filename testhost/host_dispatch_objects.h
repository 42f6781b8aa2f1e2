#pragma once
// Portable host objects (the in-memory host's, or any other implementation) served as
// IDispatch objects, dispatched through the type information of the component's type
// library: what a host hands the scripts, built from what the tests and the reference host
// hold. Each operation gives back the portable object's code; a positive code reaches the
// caller of Invoke as it is, and an exception becomes E_OUTOFMEMORY or E_UNEXPECTED.

#include <oaidl.h>

#include <memory>

#include "common/com_ptr.h"
#include "server/host_objects.h"

namespace quorlex {

HRESULT exposeReleaseData(std::shared_ptr<IReleaseData> data, com_ptr<IDispatch>& out);
HRESULT exposeSetupData(std::shared_ptr<IReleaseSetupData> data, com_ptr<IDispatch>& out);

}  // namespace quorlex
