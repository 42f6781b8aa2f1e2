#pragma once
// The setup script as the COM class TarvSetupScript: IKfxReleaseSetupScript (dual) over
// TarvSetupScript, with the host's setup-data object reached late-bound and the setup sheet
// shown as Win32 windows on the calling thread.

#include <unknwn.h>

#include "common/com_ptr.h"
#include "server/script_dispatch_ids.h"

namespace quorlex {

// A new instance, aggregated when outer is given; out receives its inner IUnknown.
HRESULT createSetupScriptObject(IUnknown* outer, com_ptr<IUnknown>& out);

}  // namespace quorlex
