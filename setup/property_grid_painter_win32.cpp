#include "setup/property_grid_painter_win32.h"

#include "common/unique_gdi.h"

namespace quorlex {
namespace {

int systemColourIndex(SystemColour colour) {
  switch (colour) {
    case SystemColour::Window: return COLOR_WINDOW;
    case SystemColour::WindowText: return COLOR_WINDOWTEXT;
    case SystemColour::ButtonFace: return COLOR_BTNFACE;
    case SystemColour::ButtonShadow: return COLOR_BTNSHADOW;
    case SystemColour::Highlight: return COLOR_HIGHLIGHT;
    case SystemColour::HighlightText: return COLOR_HIGHLIGHTTEXT;
  }
  return COLOR_WINDOWTEXT;
}

COLORREF colourValue(const PaintColour& colour) {
  return colour.fixed ? static_cast<COLORREF>(colour.rgb) : GetSysColor(systemColourIndex(colour.system));
}

RECT toRect(const GridRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

class GdiPainter {
 public:
  GdiPainter(HDC dc, const GridFonts& fonts) : dc_(dc), fonts_(fonts) {}

  void operator()(const FillOperation& fill) const {
    RECT rect = toRect(fill.rect);
    // The DC brush takes any colour without an object to create and delete.
    (void)SetDCBrushColor(dc_, colourValue(fill.colour));
    (void)FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }

  void operator()(const TextOperation& text) const {
    RECT rect = toRect(text.rect);
    selected_object font(dc_, text.font == PaintFont::Bold ? fonts_.bold : fonts_.normal);
    (void)SetTextColor(dc_, colourValue(text.colour));
    UINT format = DT_NOPREFIX | DT_LEFT;
    format |= text.multiLine ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    (void)DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.text.c_str()), static_cast<int>(text.text.size()), &rect,
                    format);
  }

  void operator()(const ButtonOperation& button) const {
    RECT rect = toRect(button.rect);
    (void)DrawFrameControl(dc_, &rect, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT);
  }

 private:
  HDC dc_;
  const GridFonts& fonts_;
};

}  // namespace

void paintOperations(HDC dc, const std::vector<PaintOperation>& operations, const GridFonts& fonts) {
  (void)SetBkMode(dc, TRANSPARENT);
  GdiPainter painter(dc, fonts);
  for (const PaintOperation& operation : operations) std::visit(painter, operation);
}

}  // namespace quorlex
