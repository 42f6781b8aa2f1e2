#include "tests/taskdialog/recording_painter.h"

#include <cstdio>

#include "common/text.h"
#include "tests/taskdialog/fake_dialog_window.h"
#include "tests/taskdialog/fake_measurer.h"

namespace quorlex::test_support {

std::string rectText(const Rect& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string colourText(Colour colour) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", static_cast<unsigned>(colour));
  return text;
}

void RecordingPainter::fillRect(const Rect& rect, Colour colour) {
  ops.push_back("fill " + rectText(rect) + " " + colourText(colour));
}
void RecordingPainter::selectHollowBrush() { ops.push_back("hollow brush"); }
void RecordingPainter::selectPen(PenHandle pen) { ops.push_back("pen " + handleName(pen)); }
void RecordingPainter::roundRect(const Rect& rect, int w, int h) {
  ops.push_back("round rect " + rectText(rect) + " " + std::to_string(w) + "x" +
                std::to_string(h));
}
void RecordingPainter::drawFocusRect(const Rect& rect) {
  ops.push_back("focus rect " + rectText(rect));
}
void RecordingPainter::drawIcon(IconHandle icon, const Rect& rect) {
  ops.push_back("icon " + handleName(icon) + " " + rectText(rect));
}
void RecordingPainter::selectFont(FontHandle selected) {
  font = selected;
  ops.push_back("font " + std::to_string(fakeFontHeight(selected)));
}
TextSize RecordingPainter::measureText(std::u16string_view text, const Rect& within,
                                       std::uint32_t format) {
  return measureFake(font, text, within.width(), format);
}
void RecordingPainter::drawText(std::u16string_view text, const Rect& rect, std::uint32_t format) {
  char flags[16];
  std::snprintf(flags, sizeof flags, "%X", static_cast<unsigned>(format));
  ops.push_back("text '" + toUtf8(text) + "' " + rectText(rect) + " font " +
                std::to_string(fakeFontHeight(font)) + " colour " + colourText(textColour) +
                " format " + flags);
}
void RecordingPainter::setTextColour(Colour colour) {
  textColour = colour;
  ops.push_back("text colour " + colourText(colour));
}
void RecordingPainter::setBackgroundColour(Colour colour) {
  ops.push_back("background colour " + colourText(colour));
}
void RecordingPainter::setTransparentBackground() { ops.push_back("transparent"); }
void RecordingPainter::restoreSelections() { ops.push_back("restore"); }

std::vector<std::string> RecordingPainter::starting(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& op : ops) {
    if (op.rfind(prefix, 0) == 0) found.push_back(op);
  }
  return found;
}

}  // namespace quorlex::test_support
