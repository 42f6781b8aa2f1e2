#include "taskdialog/background_bands.h"

#include <gtest/gtest.h>

namespace quorlex {
namespace {

constexpr Size client{200, 300};

std::vector<Band> bands(std::initializer_list<std::tuple<int, int, Colour>> rows) {
  std::vector<Band> result;
  for (const auto& [top, bottom, colour] : rows) result.push_back({{0, top, 200, bottom}, colour});
  return result;
}

TEST(BackgroundBands, FromTheSeparators) {
  const struct {
    int sep1, sep2, sep3;
    std::vector<Band> expected;
  } cases[] = {
      {-1, -1, -1, bands({{0, 300, white}})},
      {100, -1, -1, bands({{0, 100, white}, {100, 101, lineColour}, {101, 300, bandGrey}})},
      {100, 200, -1,
       bands({{0, 100, white}, {100, 101, lineColour}, {101, 199, bandGrey},
              {199, 200, lineColour}, {200, 201, white}, {201, 300, bandGrey}})},
      {100, 200, 250,
       bands({{0, 100, white}, {100, 101, lineColour}, {101, 199, bandGrey},
              {199, 200, lineColour}, {200, 201, white}, {201, 249, bandGrey},
              {249, 250, lineColour}, {250, 251, white}, {251, 300, bandGrey}})},
      // Footer details below a white dialog: the white band, then their own grey band.
      {-1, 200, -1, bands({{0, 300, white}, {199, 200, lineColour}, {200, 201, white},
                            {201, 300, bandGrey}})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(backgroundBands(client, c.sep1, c.sep2, c.sep3), c.expected)
        << c.sep1 << " " << c.sep2 << " " << c.sep3;
  }
}

}  // namespace
}  // namespace quorlex
