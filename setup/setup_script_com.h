#pragma once
// The setup script as the COM class TarvSetupScript: IKfxReleaseSetupScript (dual) over
// TarvSetupScript, with the host's setup-data object reached late-bound and the setup sheet
// shown as Win32 windows on the calling thread.

#include <unknwn.h>

#include "common/com_ptr.h"

namespace quorlex {

inline constexpr DISPID setupOpenScriptId = 0x60020000;
inline constexpr DISPID setupRunUiId = 0x60020001;
inline constexpr DISPID setupCloseScriptId = 0x60020002;
inline constexpr DISPID setupActionEventId = 0x60020003;
inline constexpr DISPID setupDataId = 0x60020004;

// A new instance, aggregated when outer is given; out receives its inner IUnknown.
HRESULT createSetupScriptObject(IUnknown* outer, com_ptr<IUnknown>& out);

}  // namespace quorlex
