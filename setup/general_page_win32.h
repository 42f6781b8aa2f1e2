#pragma once
// The General page on screen: its dialog controls reached by id, and the page window that
// hands them to the page before its initialisation loads the settings into them.

#include <windows.h>

#include <optional>

#include "setup/general_page.h"
#include "setup/page_window_win32.h"

namespace quorlex {

class WindowDialogControls final : public IDialogControls {
 public:
  explicit WindowDialogControls(HWND page) : page_(page) {}
  void setText(std::int32_t controlId, std::u16string_view text) override;
  std::u16string text(std::int32_t controlId) override;
  void show(std::int32_t controlId) override;
  void limitText(std::int32_t controlId, std::size_t maxUnits) override;
  // A message box over the sheet, then the focus on the control with its text selected.
  void refuse(std::int32_t controlId, std::u16string_view message) override;

 private:
  HWND page_;
};

// Every right-aligned label of the page wide enough for its text in the page's font: grown
// to the left, at most to the page's edge, where the template's width is too small for it.
void fitLabels(HWND page);

class GeneralPageWindow final : public PageWindow {
 public:
  GeneralPageWindow(CPropertyPageSetupGeneral& page, const PagePlace& place) : PageWindow(page, place), page_(page) {}
  ~GeneralPageWindow() override { page_.attachControls(nullptr); }

 protected:
  bool initialise() override;

 private:
  CPropertyPageSetupGeneral& page_;
  std::optional<WindowDialogControls> controls_;
};

}  // namespace quorlex
