// Placeholder until the grid control exists: a plain frame in the grid's place.
#include "setup/property_grid_window_win32.h"

namespace quorlex {

bool registerPropertyGridClass(HINSTANCE) { return true; }
void unregisterPropertyGridClass(HINSTANCE) {}

HWND createPropertyGridWindow(HWND parent, const RECT& rect, int controlId, PropertyGrid&, HINSTANCE module) {
  return CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_WHITERECT, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), module, nullptr);
}

void layoutPropertyGrid(HWND) {}
void refreshPropertyGrid(HWND) {}

}  // namespace quorlex
