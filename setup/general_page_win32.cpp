#include "setup/general_page_win32.h"

#include <string>

namespace quorlex {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string windowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace

void WindowDialogControls::setText(std::int32_t controlId, std::u16string_view text) {
  (void)SetDlgItemTextW(page_, controlId, wide(std::u16string(text)));
}

std::u16string WindowDialogControls::text(std::int32_t controlId) { return windowText(GetDlgItem(page_, controlId)); }

void WindowDialogControls::show(std::int32_t controlId) { (void)ShowWindow(GetDlgItem(page_, controlId), SW_SHOW); }

void WindowDialogControls::limitText(std::int32_t controlId, std::size_t maxUnits) {
  (void)SendDlgItemMessageW(page_, controlId, EM_LIMITTEXT, maxUnits, 0);
}

void WindowDialogControls::refuse(std::int32_t controlId, std::u16string_view message) {
  HWND sheet = GetAncestor(page_, GA_ROOT);
  std::u16string caption = windowText(sheet);
  (void)MessageBoxW(sheet, wide(std::u16string(message)), wide(caption), MB_OK | MB_ICONEXCLAMATION);
  HWND control = GetDlgItem(page_, controlId);
  (void)SetFocus(control);
  (void)SendMessageW(control, EM_SETSEL, 0, -1);
}

bool GeneralPageWindow::initialise() {
  controls_.emplace(window());
  page_.attachControls(&*controls_);
  return page_.onInitDialog();
}

}  // namespace quorlex
