#pragma once
// IPainter over a GDI device context that someone else owns (a paint, erase or draw-item
// request's). Selections made through it are put back when it goes.

#include <windows.h>

#include "taskdialog/drawing.h"

namespace quorlex {

class Win32Painter final : public IPainter {
 public:
  explicit Win32Painter(HDC dc) : dc_(dc) {}
  Win32Painter(const Win32Painter&) = delete;
  Win32Painter& operator=(const Win32Painter&) = delete;
  ~Win32Painter() override { restoreSelections(); }

  void fillRect(const Rect& rect, Colour colour) override;
  void selectHollowBrush() override;
  void selectPen(PenHandle pen) override;
  void roundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) override;
  void drawFocusRect(const Rect& rect) override;
  void drawIcon(IconHandle icon, const Rect& rect) override;
  void selectFont(FontHandle font) override;
  TextSize measureText(std::u16string_view text, const Rect& within, std::uint32_t format) override;
  void drawText(std::u16string_view text, const Rect& rect, std::uint32_t format) override;
  void setTextColour(Colour colour) override;
  void setBackgroundColour(Colour colour) override;
  void setTransparentBackground() override;
  void restoreSelections() override;
  Size borderSize() override;

 private:
  HDC dc_;
  HGDIOBJ oldBrush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldFont_ = nullptr;
};

// The size a text takes in the device context's font, laid out in a rectangle of this width
// with the given DrawText flags.
TextSize measureTextGdi(HDC dc, std::u16string_view text, const RECT& within, std::uint32_t format);

}  // namespace quorlex
