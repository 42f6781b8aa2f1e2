#include "setup/mapping_page_win32.h"

#include "setup/property_grid_window_win32.h"

namespace quorlex {
namespace {

// The frame's client rectangle in page coordinates, its right and bottom edges one pixel in.
RECT gridRectangle(HWND page) {
  RECT rect{};
  HWND frame = GetDlgItem(page, mappingControl::gridFrame);
  (void)GetClientRect(frame, &rect);
  (void)MapWindowPoints(frame, page, reinterpret_cast<POINT*>(&rect), 2);
  rect.right -= 1;
  rect.bottom -= 1;
  return rect;
}

}  // namespace

bool MappingPageWindow::initialise() {
  HWND page = window();
  grid_ = page ? createPropertyGridWindow(page, gridRectangle(page), propertyGridControlId, page_.grid(), module_)
               : nullptr;
  // The twenty items go in without a repaint each; the grid lays itself out once at the end.
  (void)SendMessageW(page, WM_SETREDRAW, FALSE, 0);
  bool result = page_.onInitDialog();
  (void)SendMessageW(page, WM_SETREDRAW, TRUE, 0);
  (void)RedrawWindow(page, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  if (grid_) layoutPropertyGrid(grid_);
  return result;
}

bool MappingPageWindow::onKillActive() {
  bool mayLeave = page_.onKillActive();
  // The required check may have selected an item and brought it into view.
  if (grid_) refreshPropertyGrid(grid_);
  return mayLeave;
}

bool MappingPageWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A menu's command: no control, notification code 0.
  if (message != WM_COMMAND || lParam != 0 || HIWORD(wParam) != 0) return false;
  if (!page_.onCommand(LOWORD(wParam))) return false;
  if (grid_) refreshPropertyGrid(grid_);
  return true;
}

}  // namespace quorlex
