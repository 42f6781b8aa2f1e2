#pragma once
// A painter that writes each drawing operation as one line of text and measures with the fake
// measurer in the selected font.

#include <string>
#include <vector>

#include "taskdialog/drawing.h"

namespace quorlex::test_support {

std::string rectText(const Rect& rect);  // "(l,t)-(r,b)"
std::string colourText(Colour colour);   // six hexadecimal digits

class RecordingPainter : public IPainter {
 public:
  void fillRect(const Rect& rect, Colour colour) override;
  void selectHollowBrush() override;
  void selectPen(PenHandle pen) override;
  void roundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) override;
  void drawFocusRect(const Rect& rect) override;
  void drawIcon(IconHandle icon, const Rect& rect) override;
  void selectFont(FontHandle font) override;
  TextSize measureText(std::u16string_view text, const Rect& within,
                       std::uint32_t format) override;
  void drawText(std::u16string_view text, const Rect& rect, std::uint32_t format) override;
  void setTextColour(Colour colour) override;
  void setBackgroundColour(Colour colour) override;
  void setTransparentBackground() override;
  void restoreSelections() override;
  Size borderSize() override { return border; }

  // The lines that start with the prefix.
  std::vector<std::string> starting(const std::string& prefix) const;

  std::vector<std::string> ops;
  FontHandle font = nullptr;
  Colour textColour = 0;
  Size border{1, 1};
};

}  // namespace quorlex::test_support
