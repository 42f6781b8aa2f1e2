#include "taskdialog/background_bands.h"

namespace quorlex {

std::vector<Band> backgroundBands(const Size& client, int sep1, int sep2, int sep3) {
  const int width = client.width;
  const int bottom = client.height;
  std::vector<Band> bands;
  auto fill = [&](int top, int end, Colour colour) {
    bands.push_back({{0, top, width, end}, colour});
  };
  if (sep1 == -1) {
    fill(0, bottom, white);
  } else {
    fill(0, sep1, white);
    fill(sep1, sep1 + 1, lineColour);
    fill(sep1 + 1, sep2 != -1 ? sep2 - 1 : bottom, bandGrey);
  }
  // A later separator: a line above a white line, then grey.
  if (sep2 != -1) {
    fill(sep2 - 1, sep2, lineColour);
    fill(sep2, sep2 + 1, white);
    fill(sep2 + 1, sep3 != -1 ? sep3 - 1 : bottom, bandGrey);
  }
  if (sep3 != -1) {
    fill(sep3 - 1, sep3, lineColour);
    fill(sep3, sep3 + 1, white);
    fill(sep3 + 1, bottom, bandGrey);
  }
  return bands;
}

}  // namespace quorlex
