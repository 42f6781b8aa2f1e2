#pragma once
// The drawing interfaces' opaque handles are GDI objects on Windows, and their rectangles and
// colours GDI's own.

#include <windows.h>

#include "taskdialog/drawing.h"

namespace quorlex {

inline HFONT gdi(FontHandle font) { return reinterpret_cast<HFONT>(font); }
inline HBRUSH gdi(BrushHandle brush) { return reinterpret_cast<HBRUSH>(brush); }
inline HPEN gdi(PenHandle pen) { return reinterpret_cast<HPEN>(pen); }
inline FontHandle fontHandle(HFONT font) { return reinterpret_cast<FontHandle>(font); }
inline BrushHandle brushHandle(HBRUSH brush) { return reinterpret_cast<BrushHandle>(brush); }
inline PenHandle penHandle(HPEN pen) { return reinterpret_cast<PenHandle>(pen); }

inline RECT gdi(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
inline Rect fromGdi(const RECT& rect) {
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

// Texts are UTF-16 either way; Windows spells them wchar_t.
inline const wchar_t* wide(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

}  // namespace quorlex
