#pragma once
// The dispatch ids of the two script interfaces, as the component's type library gives them;
// late-bound hosts call the scripts by these.

#include <oaidl.h>

namespace quorlex {

// IKfxReleaseScript
inline constexpr DISPID releaseOpenScriptId = 0x60030000;
inline constexpr DISPID releaseDocId = 0x60030001;
inline constexpr DISPID releaseCloseScriptId = 0x60030002;
inline constexpr DISPID releaseDocumentDataId = 0x60030003;

// IKfxReleaseSetupScript
inline constexpr DISPID setupOpenScriptId = 0x60020000;
inline constexpr DISPID setupRunUiId = 0x60020001;
inline constexpr DISPID setupCloseScriptId = 0x60020002;
inline constexpr DISPID setupActionEventId = 0x60020003;
inline constexpr DISPID setupDataId = 0x60020004;

}  // namespace quorlex
