#pragma once
// How many GDI and USER objects the process holds, to show that windows leave none behind.

#include <windows.h>

namespace quorlex::test_support {

struct GuiObjectCounts {
  unsigned long gdi = 0;
  unsigned long user = 0;
  bool operator==(const GuiObjectCounts&) const = default;
};

// GetGuiResources where the system keeps the counts. Wine answers 0 there, so the handle
// tables are probed instead: Wine takes a handle with a zero upper word as its slot's current
// object, whatever the slot's generation.
inline GuiObjectCounts guiObjectCounts() {
  GuiObjectCounts counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                         GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
  if (counts.gdi != 0 || counts.user != 0) return counts;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
    counts.gdi += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    counts.user += IsWindow(reinterpret_cast<HWND>(slot)) || IsMenu(reinterpret_cast<HMENU>(slot));
  }
  return counts;
}

}  // namespace quorlex::test_support
