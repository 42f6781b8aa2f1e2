#include "setup/sheet_layout.h"

#include <algorithm>

namespace quorlex {

SheetGeometry sheetGeometry(const SheetMetrics& m) {
  SheetGeometry g;
  g.pageList = {m.marginX, m.marginY, m.marginX + m.pageListWidth, m.marginY + m.pageHeight};
  g.page.left = g.pageList.right + m.marginX;
  g.page.top = m.marginY;
  g.page.right = g.page.left + m.pageWidth;
  g.page.bottom = g.page.top + m.pageHeight;
  std::int32_t buttonTop = g.page.bottom + m.marginY;
  g.cancel = {g.page.right - m.buttonWidth, buttonTop, g.page.right, buttonTop + m.buttonHeight};
  g.ok = {g.cancel.left - m.buttonGap - m.buttonWidth, buttonTop, g.cancel.left - m.buttonGap, g.cancel.bottom};
  g.clientWidth = g.page.right + m.marginX;
  g.clientHeight = g.cancel.bottom + m.marginY;
  return g;
}

PixelRect labelFittingText(const PixelRect& label, std::int32_t textWidth, std::int32_t leftmost) {
  PixelRect fitted = label;
  if (textWidth > label.width()) fitted.left = std::max(std::min(leftmost, label.left), label.right - textWidth);
  return fitted;
}

namespace {

// The start of a span of the given length inside [low, high): the end pulled in first, so
// that a span longer than the room keeps its start (the caption and close box) visible.
std::int32_t fitInto(std::int32_t start, std::int32_t length, std::int32_t low, std::int32_t high) {
  start = std::min(start, high - length);
  return std::max(start, low);
}

}  // namespace

PixelPoint centredPosition(std::int32_t width, std::int32_t height, const std::optional<PixelRect>& owner,
                           const PixelRect& workArea) {
  const PixelRect& around = owner ? *owner : workArea;
  std::int32_t x = around.left + (around.width() - width) / 2;
  std::int32_t y = around.top + (around.height() - height) / 2;
  return {fitInto(x, width, workArea.left, workArea.right), fitInto(y, height, workArea.top, workArea.bottom)};
}

}  // namespace quorlex
