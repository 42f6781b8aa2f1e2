#pragma once
// The own dialog's background: a white main area, grey bands below the separators, each band
// topped by a line.

#include <vector>

#include "taskdialog/drawing.h"

namespace quorlex {

struct Band {
  Rect rect;
  Colour colour = white;
  friend bool operator==(const Band&, const Band&) = default;
};

// Solid fills over the full client width, top to bottom, for the separators at client y sep1,
// sep2 and sep3 (each −1 when absent).
std::vector<Band> backgroundBands(const Size& client, int sep1, int sep2, int sep3);

}  // namespace quorlex
