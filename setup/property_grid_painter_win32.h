#pragma once
// The property grid's paint operations as GDI calls on a device context.

#include <windows.h>

#include <vector>

#include "setup/property_grid_paint.h"

namespace quorlex {

struct GridFonts {
  HFONT normal = nullptr;
  HFONT bold = nullptr;
};

void paintOperations(HDC dc, const std::vector<PaintOperation>& operations, const GridFonts& fonts);

}  // namespace quorlex
