#pragma once
// The host's release objects as the portable host interfaces, over the IDispatch objects
// the host hands the scripts. Every operation is late-bound by name; positions go as 32-bit
// integers (VT_I4), the RowValues key as the plain integer 0 (VT_INT).

#include <oaidl.h>

#include <memory>

#include "common/com_ptr.h"
#include "server/host_objects.h"

namespace quorlex {

// Null for a null object.
std::shared_ptr<IReleaseData> releaseDataOverDispatch(com_ptr<IDispatch> object);
std::shared_ptr<IReleaseSetupData> setupDataOverDispatch(com_ptr<IDispatch> object);

// The host's object behind an adapter made here; null for any other implementation.
IDispatch* hostObjectOf(const IReleaseData& data);
IDispatch* hostObjectOf(const IReleaseSetupData& data);

}  // namespace quorlex
