#include "taskdialog/command_link.h"

#include <string>

#include "taskdialog/task_dialog_request.h"

namespace quorlex {
namespace {

constexpr int textInset = 10;
constexpr int glyphSize = 16;
constexpr int glyphAdvance = 26;
constexpr int noteGap = 5;

OwnedPen makePen(IGraphics& graphics, Colour colour) {
  return OwnedPen(graphics, graphics.createSolidPen(colour, 1));
}

}  // namespace

bool CXTaskDialogCommandLink::initialise(IGraphics& graphics, FontHandle largeFont,
                                         FontHandle normalFont, IconHandle arrow,
                                         IconHandle hotArrow) {
  focusPen_.reset();
  hotPen_.reset();
  normalPen_.reset();
  focusPen_ = makePen(graphics, linkFocusPenColour);
  normalPen_ = makePen(graphics, linkNormalPenColour);
  hotPen_ = makePen(graphics, linkHotPenColour);
  arrow_ = arrow;
  hotArrow_ = hotArrow;
  largeFont_ = largeFont;
  normalFont_ = normalFont;
  return focusPen_ && normalPen_ && hotPen_;
}

LResult CXTaskDialogCommandLink::onDrawItem(const DrawItemState& item, IControlWindow& control,
                                            IPainter& dc) {
  const Rect& r = item.rect;
  const bool pressed = (item.state & drawStateSelected) != 0;
  const bool focused = (item.state & drawStateFocus) != 0;
  dc.fillRect(r, white);
  dc.selectHollowBrush();
  dc.selectPen(hot_ ? hotPen_.get() : focused ? focusPen_.get() : normalPen_.get());
  dc.roundRect(r, 6, 6);
  if (pressed) dc.fillRect(r.shrunk(1, 1), linkPressedFace);

  const std::uint32_t uiState = control.uiState();
  if (focused && (uiState & uiStateHideFocus) == 0) {
    const Size border = dc.borderSize();
    dc.drawFocusRect(r.shrunk(2 * border.width, 3 * border.height));
  }

  int x = r.left + textInset;
  if (IconHandle image = control.image(); image != nullptr) {
    const int top = r.top + (r.height() - glyphSize) / 2;
    dc.drawIcon(image, {x, top, x + glyphSize, top + glyphSize});
    x += glyphAdvance;
  }

  const std::u16string text = control.text();
  const CommandLinkText parts = splitCommandLinkText(text);
  const std::uint32_t captionFormat =
      textFormat::singleLine | textFormat::expandTabs |
      ((uiState & uiStateHideAccelerators) != 0 ? textFormat::hidePrefix : 0);
  const std::uint32_t noteFormat =
      textFormat::wordBreak | textFormat::expandTabs | textFormat::noPrefix;
  const Colour colour = pressed ? linkTextColour : hot_ ? linkHotTextColour : linkTextColour;
  const Rect textColumn{x, r.top, r.right - textInset, r.bottom};

  dc.selectFont(largeFont_);
  dc.setTransparentBackground();
  dc.setTextColour(colour);
  const TextSize main = dc.measureText(parts.main, textColumn, captionFormat);
  if (!parts.note) {
    const int top = r.top + (r.height() - main.height) / 2;
    dc.drawText(parts.main, {textColumn.left, top, textColumn.right, top + main.height},
                captionFormat);
  } else {
    const int mainTop = r.top + textInset;
    dc.drawText(parts.main, {textColumn.left, mainTop, textColumn.right, mainTop + main.height},
                captionFormat);
    dc.selectFont(normalFont_);
    const int noteTop = mainTop + main.height + noteGap;
    // Measured in the column it is drawn in, so that its wrapped lines all fit.
    const TextSize note = dc.measureText(*parts.note, textColumn, noteFormat);
    dc.drawText(*parts.note, {textColumn.left, noteTop, textColumn.right, noteTop + note.height},
                noteFormat);
  }
  dc.restoreSelections();
  return 1;
}

void CXTaskDialogCommandLink::onMouseMove(IControlWindow& control) {
  if (!hot_) {
    hot_ = true;
    if (arrow_ != nullptr && control.image() == arrow_) control.setImage(hotArrow_);
    control.invalidate(true);
  }
  if (!leaveTrackingRequested_) leaveTrackingRequested_ = control.trackMouseLeave(1);
}

LResult CXTaskDialogCommandLink::onMouseLeave(IControlWindow& control) {
  leaveTrackingRequested_ = false;
  hot_ = false;
  if (hotArrow_ != nullptr && control.image() == hotArrow_) control.setImage(arrow_);
  control.invalidate(true);
  return 0;
}

void CXTaskDialogCommandLink::onUiStateChange(IControlWindow& control) {
  control.invalidate(true);
}

}  // namespace quorlex
