#pragma once
// The Data Mapping page on screen: the property grid created inside the frame 11055, the
// commands of an item's choice menu (sent to the page, the menu's owner) passed to the page
// and shown in the grid, and the required check's selection shown when the page is left.

#include <windows.h>

#include "setup/mapping_page.h"
#include "setup/page_window_win32.h"

namespace quorlex {

// The grid's control id on the page, beside its frame's.
inline constexpr int propertyGridControlId = 11054;

class MappingPageWindow final : public PageWindow {
 public:
  MappingPageWindow(CPropertyPageSetupMapping& page, const PagePlace& place)
      : PageWindow(page, place), page_(page), module_(place.module) {}

  bool onKillActive() override;

 protected:
  bool initialise() override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  CPropertyPageSetupMapping& page_;
  HMODULE module_;
  HWND grid_ = nullptr;  // a child of the page
};

}  // namespace quorlex
