#pragma once
// CXTaskDialogCommandLink: a command link drawn completely here (white face, rounded outline,
// arrow, main text in the large font and note below it), with hot tracking of the pointer.

#include <cstdint>

#include "taskdialog/dialog_window.h"
#include "taskdialog/drawing.h"
#include "taskdialog/graphics.h"

namespace quorlex {

inline constexpr Colour linkFocusPenColour = 0xFFF0B2;
inline constexpr Colour linkNormalPenColour = 0xFFFFFF;
inline constexpr Colour linkHotPenColour = 0xC6C6C6;
inline constexpr Colour linkTextColour = 0x993300;
inline constexpr Colour linkHotTextColour = 0xE54A07;
inline constexpr Colour linkPressedFace = 0xF0F0F0;

// A reflected draw-item request: the control's client area and its state bits.
struct DrawItemState {
  Rect rect;
  std::uint32_t state = 0;
};
inline constexpr std::uint32_t drawStateSelected = 0x0001;
inline constexpr std::uint32_t drawStateFocus = 0x0010;

class CXTaskDialogCommandLink {
 public:
  // Borrows the fonts and arrows (either arrow may be none) and makes the three pens, releasing
  // earlier ones first; false when a pen could not be made.
  bool initialise(IGraphics& graphics, FontHandle largeFont, FontHandle normalFont,
                  IconHandle arrow, IconHandle hotArrow);

  // Reflected draw-item (0x202B); the answer is 1.
  LResult onDrawItem(const DrawItemState& item, IControlWindow& control, IPainter& dc);
  // Mouse move (0x0200); afterwards the platform passes the move on to the control.
  void onMouseMove(IControlWindow& control);
  // Mouse leave (0x02A3); the answer is 0.
  LResult onMouseLeave(IControlWindow& control);
  // UI-state change (0x0128); afterwards the platform passes it on to the control.
  void onUiStateChange(IControlWindow& control);
  // Background erase (0x0014): the drawing covers it all; the answer is 1.
  LResult onEraseBackground() const { return 1; }

  bool hot() const { return hot_; }
  IconHandle arrow() const { return arrow_; }
  IconHandle hotArrow() const { return hotArrow_; }

 private:
  OwnedPen focusPen_;
  OwnedPen hotPen_;
  OwnedPen normalPen_;
  IconHandle arrow_ = nullptr;
  IconHandle hotArrow_ = nullptr;
  bool hot_ = false;
  bool leaveTrackingRequested_ = false;
  FontHandle largeFont_ = nullptr;
  FontHandle normalFont_ = nullptr;
};

}  // namespace quorlex
