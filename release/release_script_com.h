#pragma once
// The release script as the COM class QuorlexExportConnector: IKfxReleaseScript (dual)
// over releaseScript, with the host's document-data object reached late-bound.

#include <unknwn.h>

#include "common/com_ptr.h"
#include "server/script_dispatch_ids.h"

namespace quorlex {

// A new instance, aggregated when outer is given; out receives its inner IUnknown.
HRESULT createReleaseScriptObject(IUnknown* outer, com_ptr<IUnknown>& out);

}  // namespace quorlex
