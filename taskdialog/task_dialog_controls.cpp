#include "taskdialog/task_dialog_controls.h"

namespace quorlex {

void CXTaskDialogStatic::initialise(Colour textColour, Colour backgroundColour,
                                    const BrushHandle* brush) {
  textColour_ = textColour;
  backgroundColour_ = backgroundColour;
  brush_ = brush;
}

BrushHandle CXTaskDialogStatic::onControlColour(IPainter& dc) const {
  dc.setBackgroundColour(backgroundColour_);
  dc.setTextColour(textColour_);
  return brush_ != nullptr ? *brush_ : nullptr;
}

LResult CXTaskDialogStatic::onEraseBackground(IPainter& dc, const Rect& client) const {
  dc.fillRect(client, backgroundColour_);
  return 1;
}

void CXTaskDialogIconStatic::initialise(const IconHandle* icon, bool large) {
  icon_ = icon;
  large_ = large;
}

LResult CXTaskDialogIconStatic::onPaint(IPainter& dc) const {
  if (icon_ == nullptr || *icon_ == nullptr) return 0;
  const int size = large_ ? 32 : 16;
  dc.drawIcon(*icon_, {0, 0, size, size});
  return 0;
}

void CXTaskDialogButton::initialise(Colour backgroundColour, const BrushHandle* brush) {
  backgroundColour_ = backgroundColour;
  brush_ = brush;
}

BrushHandle CXTaskDialogButton::onControlColour(IPainter& dc) const {
  dc.setTransparentBackground();
  return brush_ != nullptr ? *brush_ : nullptr;
}

LResult CXTaskDialogButton::onEraseBackground(IPainter& dc, const Rect& client) const {
  dc.fillRect(client, backgroundColour_);
  return 0;
}

}  // namespace quorlex
