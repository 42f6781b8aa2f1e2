#include "setup/general_page_win32.h"

#include <string>

#include "setup/sheet_layout.h"

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

void fitLabels(HWND page) {
  HDC dc = GetDC(page);
  if (!dc) return;
  HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(page, WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(dc, font);
  for (const GeneralFieldControl& field : generalFieldControls) {
    HWND label = GetDlgItem(page, field.labelId);
    std::u16string text = windowText(label);
    RECT measured{};
    (void)DrawTextW(dc, wide(text), -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT at{};
    (void)GetWindowRect(label, &at);
    (void)MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&at), 2);
    PixelRect fitted = labelFittingText({at.left, at.top, at.right, at.bottom}, measured.right, 0);
    (void)MoveWindow(label, fitted.left, fitted.top, fitted.width(), fitted.height(), FALSE);
  }
  (void)SelectObject(dc, previous);
  (void)ReleaseDC(page, dc);
}

bool GeneralPageWindow::initialise() {
  fitLabels(window());
  controls_.emplace(window());
  page_.attachControls(&*controls_);
  return page_.onInitDialog();
}

}  // namespace quorlex
