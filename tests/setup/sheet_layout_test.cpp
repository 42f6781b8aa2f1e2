#include "setup/sheet_layout.h"

#include <gtest/gtest.h>

namespace quorlex {
namespace {

// The metrics of "MS Shell Dlg" 8 point: 350 x 242 dialog units are 525 x 393 pixels, a
// margin of 7 units 10 x 11 pixels, a 50 x 14 button 75 x 23, a gap of 4 units 6 pixels.
TEST(SheetGeometry, ListLeftPageRightButtonsUnderThePageAtTheRight) {
  SheetMetrics metrics{525, 393, 100, 10, 11, 75, 23, 6};
  SheetGeometry g = sheetGeometry(metrics);
  EXPECT_EQ(g.pageList, (PixelRect{10, 11, 110, 404}));
  EXPECT_EQ(g.page, (PixelRect{120, 11, 645, 404}));
  EXPECT_EQ(g.cancel, (PixelRect{570, 415, 645, 438}));
  EXPECT_EQ(g.ok, (PixelRect{489, 415, 564, 438}));
  EXPECT_EQ(g.clientWidth, 655);
  EXPECT_EQ(g.clientHeight, 449);
}

TEST(LabelFittingText, GrowsLeftOnlyAsFarAsTheTextNeedsAndTheRoomAllows) {
  PixelRect label{115, 10, 175, 22};  // 60 pixels, right edge at 175
  struct Case {
    std::int32_t textWidth;
    std::int32_t left;
  };
  for (const Case& c : {Case{40, 115}, Case{60, 115}, Case{71, 104}, Case{300, 10}}) {
    EXPECT_EQ(labelFittingText(label, c.textWidth, 10), (PixelRect{c.left, 10, 175, 22})) << c.textWidth;
  }
}

TEST(CentredPosition, OnTheOwnerOrTheWorkAreaAndAlwaysInsideTheWorkArea) {
  PixelRect screen{0, 0, 1024, 738};
  struct Case {
    std::optional<PixelRect> owner;
    PixelPoint expected;
  };
  for (const Case& c : {Case{std::nullopt, {184, 144}},                    // the work area's centre
                        Case{PixelRect{100, 100, 700, 600}, {72, 125}},    // the owner's centre
                        Case{PixelRect{800, 500, 1000, 700}, {368, 288}},  // pulled back in
                        Case{PixelRect{-400, -300, -100, -100}, {0, 0}}}) {
    EXPECT_EQ(centredPosition(656, 450, c.owner, screen), c.expected);
  }
  // Larger than the work area: the top-left corner stays in it, with the caption.
  EXPECT_EQ(centredPosition(2000, 900, std::nullopt, PixelRect{0, 30, 1024, 768}), (PixelPoint{0, 30}));
}

}  // namespace
}  // namespace quorlex
