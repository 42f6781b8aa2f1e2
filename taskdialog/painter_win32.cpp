#include "taskdialog/painter_win32.h"

#include <utility>

#include "taskdialog/gdi_handles_win32.h"

namespace quorlex {

TextSize measureTextGdi(HDC dc, std::u16string_view text, const RECT& within, std::uint32_t format) {
  RECT rect = within;
  rect.bottom = rect.top;
  (void)DrawTextW(dc, wide(text), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
  return {static_cast<int>(rect.right - rect.left), static_cast<int>(rect.bottom - rect.top)};
}

void Win32Painter::fillRect(const Rect& rect, Colour colour) {
  // An opaque empty text fills with the background colour, without a brush to make.
  const COLORREF old = SetBkColor(dc_, colour);
  const RECT area = gdi(rect);
  (void)ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  (void)SetBkColor(dc_, old);
}

void Win32Painter::selectHollowBrush() {
  HGDIOBJ old = SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
  if (oldBrush_ == nullptr) oldBrush_ = old;
}

void Win32Painter::selectPen(PenHandle pen) {
  if (pen == nullptr) return;
  HGDIOBJ old = SelectObject(dc_, gdi(pen));
  if (oldPen_ == nullptr) oldPen_ = old;
}

void Win32Painter::roundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) {
  (void)RoundRect(dc_, rect.left, rect.top, rect.right, rect.bottom, ellipseWidth, ellipseHeight);
}

void Win32Painter::drawFocusRect(const Rect& rect) {
  const RECT area = gdi(rect);
  (void)DrawFocusRect(dc_, &area);
}

void Win32Painter::drawIcon(IconHandle icon, const Rect& rect) {
  (void)DrawIconEx(dc_, rect.left, rect.top, icon, rect.width(), rect.height(), 0, nullptr, DI_NORMAL);
}

void Win32Painter::selectFont(FontHandle font) {
  if (font == nullptr) return;
  HGDIOBJ old = SelectObject(dc_, gdi(font));
  if (oldFont_ == nullptr) oldFont_ = old;
}

TextSize Win32Painter::measureText(std::u16string_view text, const Rect& within, std::uint32_t format) {
  return measureTextGdi(dc_, text, gdi(within), format);
}

void Win32Painter::drawText(std::u16string_view text, const Rect& rect, std::uint32_t format) {
  RECT area = gdi(rect);
  (void)DrawTextW(dc_, wide(text), static_cast<int>(text.size()), &area, format);
}

void Win32Painter::setTextColour(Colour colour) { (void)SetTextColor(dc_, colour); }

void Win32Painter::setBackgroundColour(Colour colour) { (void)SetBkColor(dc_, colour); }

void Win32Painter::setTransparentBackground() { (void)SetBkMode(dc_, TRANSPARENT); }

void Win32Painter::restoreSelections() {
  if (oldBrush_ != nullptr) (void)SelectObject(dc_, std::exchange(oldBrush_, nullptr));
  if (oldPen_ != nullptr) (void)SelectObject(dc_, std::exchange(oldPen_, nullptr));
  if (oldFont_ != nullptr) (void)SelectObject(dc_, std::exchange(oldFont_, nullptr));
}

Size Win32Painter::borderSize() { return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)}; }

}  // namespace quorlex
