#include "setup/page_window_win32.h"

#include <optional>
#include <span>
#include <vector>

#include "setup/page_template.h"

namespace quorlex {
namespace {

std::optional<std::vector<std::uint8_t>> loadPageTemplate(HMODULE module, std::int32_t templateId) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
  if (!found) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return childPageTemplate(std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, found)));
}

}  // namespace

bool PageWindow::onInitDialog() {
  std::optional<std::vector<std::uint8_t>> dialog = loadPageTemplate(place_.module, page_.templateId());
  if (dialog) {
    // The vector's storage is aligned as the template's DWORDs need.
    window_ = CreateDialogIndirectParamW(place_.module, reinterpret_cast<LPCDLGTEMPLATEW>(dialog->data()),
                                         place_.sheet, &PageWindow::dialogProcedure, reinterpret_cast<LPARAM>(this));
  }
  if (window_) {
    const RECT& area = place_.area;
    (void)SetWindowPos(window_, place_.after, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_NOACTIVATE);
  }
  return initialise();
}

INT_PTR CALLBACK PageWindow::dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;  // the sheet decides where the focus goes
  }
  auto* page = reinterpret_cast<PageWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!page) return FALSE;
  return withoutThrowing([&]() -> INT_PTR { return page->onMessage(message, wParam, lParam) ? TRUE : FALSE; });
}

}  // namespace quorlex
