#pragma once
// Where the setup sheet puts its parts, in pixels: the page list down the left, the shown
// page to its right, OK and Cancel under the page at the right; and where the sheet opens.

#include <cstdint>
#include <optional>

namespace quorlex {

struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  std::int32_t width() const { return right - left; }
  std::int32_t height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
  std::int32_t x = 0, y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// The sheet's sizes in dialog units of its font ("MS Shell Dlg", 8 point): the pages'
// templates, the margins, the buttons and the gap between them; the button texts are the
// component's common-button strings.
namespace sheetUnits {
inline constexpr std::int32_t pageWidth = 350, pageHeight = 242;
inline constexpr std::int32_t margin = 7;
inline constexpr std::int32_t buttonWidth = 50, buttonHeight = 14;
inline constexpr std::int32_t buttonGap = 4;
inline constexpr std::uint32_t okText = 11005;
inline constexpr std::uint32_t cancelText = 11009;
}  // namespace sheetUnits

// What the layout starts from; the sheet's dialog units already turned into pixels.
struct SheetMetrics {
  std::int32_t pageWidth = 0, pageHeight = 0;  // the pages' template size
  std::int32_t pageListWidth = 100;
  std::int32_t marginX = 0, marginY = 0;       // around and between the parts
  std::int32_t buttonWidth = 0, buttonHeight = 0;
  std::int32_t buttonGap = 0;                  // between OK and Cancel
};

struct SheetGeometry {
  PixelRect pageList, page, ok, cancel;  // client coordinates of the sheet
  std::int32_t clientWidth = 0, clientHeight = 0;
};

SheetGeometry sheetGeometry(const SheetMetrics& metrics);

// A right-aligned label whose text is wider than its template makes it (another font than
// the one the template was laid out for) grows to the left, no further than leftmost, so
// that the text stays on its one line and whole; a label wide enough stays as it is.
PixelRect labelFittingText(const PixelRect& label, std::int32_t textWidth, std::int32_t leftmost);

// The sheet's top-left corner: centred on its owner's window, or on the work area without
// one, then moved so that as much of it as fits lies inside the work area.
PixelPoint centredPosition(std::int32_t width, std::int32_t height, const std::optional<PixelRect>& owner,
                           const PixelRect& workArea);

}  // namespace quorlex
