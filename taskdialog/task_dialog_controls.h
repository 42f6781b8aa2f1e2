#pragma once
// The subclasses that give the own dialog's static texts, icons, check box and radio buttons the
// task-dialog look. They borrow their brushes and icons from the dialog, which owns them and
// outlives them, by the address of its handles, so that a replaced object shows at the next
// repaint. Each answers its messages; the platform passes every other message on.

#include <cstdint>

#include "taskdialog/dialog_window.h"
#include "taskdialog/drawing.h"

namespace quorlex {

// Main instruction, content, details and footer texts.
class CXTaskDialogStatic {
 public:
  void initialise(Colour textColour, Colour backgroundColour, const BrushHandle* brush);
  // Reflected static-colour request (0x2138): the colours go to the device context, the answer
  // is the brush.
  BrushHandle onControlColour(IPainter& dc) const;
  // Background erase (0x0014): the client area in the background colour; the answer is 1.
  LResult onEraseBackground(IPainter& dc, const Rect& client) const;

  Colour textColour() const { return textColour_; }
  Colour backgroundColour() const { return backgroundColour_; }
  const BrushHandle* brush() const { return brush_; }

 private:
  Colour textColour_ = 0x000000;
  Colour backgroundColour_ = white;
  const BrushHandle* brush_ = nullptr;
};

// The main icon (32 pixels) and the footer icon (16 pixels).
class CXTaskDialogIconStatic {
 public:
  void initialise(const IconHandle* icon, bool large);
  // Paint (0x000F): the icon at (0, 0), nothing while there is none; the answer is 0.
  LResult onPaint(IPainter& dc) const;

  bool large() const { return large_; }

 private:
  const IconHandle* icon_ = nullptr;
  bool large_ = false;
};

// The verification check box and the radio buttons.
class CXTaskDialogButton {
 public:
  void initialise(Colour backgroundColour, const BrushHandle* brush);
  // Reflected static-colour request (0x2138): a transparent background; the answer is the brush.
  BrushHandle onControlColour(IPainter& dc) const;
  // Background erase (0x0014): the client area in the background colour; the answer is 0.
  LResult onEraseBackground(IPainter& dc, const Rect& client) const;

  Colour backgroundColour() const { return backgroundColour_; }
  const BrushHandle* brush() const { return brush_; }

 private:
  Colour backgroundColour_ = white;
  const BrushHandle* brush_ = nullptr;
};

}  // namespace quorlex
