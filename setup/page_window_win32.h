#pragma once
// A page of the setup sheet as a window: the page's dialog made from its template the first
// time the sheet shows it, then the page's own initialisation; kept, hidden or shown by the
// sheet, until the sheet closes. The other hooks pass through to the page.

#include <windows.h>

#include <exception>

#include "setup/setup_page.h"

namespace quorlex {

// Where the sheet puts its pages.
struct PagePlace {
  HMODULE module = nullptr;  // holds the templates
  HWND sheet = nullptr;
  HWND after = nullptr;  // the page follows this control in the tab order
  RECT area{};           // the sheet's client coordinates
};

// A window procedure's work, with nothing thrown past the platform's frames: a failure that
// throws counts as not handled.
template <typename Work>
INT_PTR withoutThrowing(Work work) noexcept {
  try {
    return work();
  } catch (...) {
    return FALSE;
  }
}

class PageWindow : public ISetupPage {
 public:
  PageWindow(ISetupPage& page, const PagePlace& place) : page_(page), place_(place) {}
  PageWindow(const PageWindow&) = delete;
  PageWindow& operator=(const PageWindow&) = delete;

  HWND window() const { return window_; }

  std::int32_t templateId() const override { return page_.templateId(); }
  std::u16string_view title() const override { return page_.title(); }
  bool onInitDialog() override;
  bool onSetActive() override { return page_.onSetActive(); }
  bool onKillActive() override { return page_.onKillActive(); }
  void onOK() override { page_.onOK(); }

 protected:
  // The page's own initialisation, once its window exists.
  virtual bool initialise() { return page_.onInitDialog(); }
  // A message to the page's window; true when handled.
  virtual bool onMessage(UINT, WPARAM, LPARAM) { return false; }

 private:
  static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  ISetupPage& page_;
  PagePlace place_;
  HWND window_ = nullptr;  // a child of the sheet, destroyed with it
};

}  // namespace quorlex
