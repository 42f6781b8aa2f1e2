#include "taskdialog/command_link.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/taskdialog/fake_platform.h"
#include "tests/taskdialog/recording_painter.h"

namespace quorlex {
namespace {

using test_support::FakePlatform;
using test_support::RecordingPainter;
using test_support::fakeFont;
using test_support::handleName;

constexpr std::u16string_view ignoreText =
    u"Ignore Requirement\nDo not map the Required fields and close this dialog immediately.";

class FakeLinkWindow : public IControlWindow {
 public:
  std::u16string text() override { return caption; }
  IconHandle image() override { return currentImage; }
  void setImage(IconHandle icon) override { currentImage = icon; }
  void invalidate(bool erase) override { invalidations += erase ? 1 : 100; }
  bool trackMouseLeave(std::uint32_t hoverMs) override {
    trackRequests.push_back(hoverMs);
    return trackingWorks;
  }
  std::uint32_t uiState() override { return state; }

  std::u16string caption{ignoreText};
  IconHandle currentImage = nullptr;
  int invalidations = 0;
  std::vector<std::uint32_t> trackRequests;
  bool trackingWorks = true;
  std::uint32_t state = 0;
};

class CommandLink : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(link.initialise(platform, large, normal, arrow, hotArrow));
    control.currentImage = arrow;
  }
  RecordingPainter draw(std::uint32_t state = 0) {
    RecordingPainter dc;
    EXPECT_EQ(link.onDrawItem({{0, 0, 400, 80}, state}, control, dc), 1);
    return dc;
  }
  Colour penColour(const RecordingPainter& dc) const {
    const std::vector<std::string> pens = dc.starting("pen ");
    if (pens.size() != 1) return 0xFFFFFFFF;
    const auto handle = static_cast<std::uintptr_t>(std::stoull(pens[0].substr(4), nullptr, 16));
    return platform.colourOf(reinterpret_cast<const void*>(handle));
  }
  std::vector<std::string> texts(const RecordingPainter& dc) const { return dc.starting("text '"); }

  FakePlatform platform;
  const FontHandle large = fakeFont(-18);
  const FontHandle normal = fakeFont(-12);
  const IconHandle arrow = reinterpret_cast<IconHandle>(0xA1);
  const IconHandle hotArrow = reinterpret_cast<IconHandle>(0xA2);
  CXTaskDialogCommandLink link;
  FakeLinkWindow control;
};

TEST_F(CommandLink, DrawsTheIgnoreRequirementLink) {
  const RecordingPainter dc = draw();
  EXPECT_EQ(dc.ops, (std::vector<std::string>{
                        "fill (0,0)-(400,80) FFFFFF",
                        "hollow brush",
                        dc.starting("pen ").at(0),
                        "round rect (0,0)-(400,80) 6x6",
                        "icon a1 (10,32)-(26,48)",
                        "font -18",
                        "transparent",
                        "text colour 993300",
                        "text 'Ignore Requirement' (36,10)-(390,32) font -18 colour 993300 format 60",
                        "font -12",
                        "text 'Do not map the Required fields and close this dialog immediately.' "
                        "(36,37)-(390,69) font -12 colour 993300 format 850",
                        "restore",
                    }));
  EXPECT_EQ(penColour(dc), linkNormalPenColour);
}

TEST_F(CommandLink, WithoutTheArrowTheTextsStartTenFromTheEdge) {
  control.currentImage = nullptr;
  const std::vector<std::string> drawn = texts(draw());
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_NE(drawn[0].find("(10,10)-(390,32)"), std::string::npos) << drawn[0];
  EXPECT_NE(drawn[1].find("(10,37)-(390,69)"), std::string::npos) << drawn[1];
  EXPECT_TRUE(draw().starting("icon").empty());
}

TEST_F(CommandLink, ALinkWithoutNoteIsCentred) {
  control.caption = u"Map Required Fields";
  const std::vector<std::string> drawn = texts(draw());
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_NE(drawn[0].find("(36,29)-(390,51)"), std::string::npos) << drawn[0];  // (80 − 22) ÷ 2
}

TEST_F(CommandLink, HoveringTurnsItHotAndLeavingRestoresIt) {
  link.onMouseMove(control);
  EXPECT_TRUE(link.hot());
  EXPECT_EQ(control.currentImage, hotArrow);
  EXPECT_EQ(control.invalidations, 1);
  EXPECT_EQ(control.trackRequests, std::vector<std::uint32_t>{1});
  const RecordingPainter hot = draw();
  EXPECT_EQ(penColour(hot), linkHotPenColour);
  EXPECT_NE(texts(hot).at(0).find("colour E54A07"), std::string::npos);
  EXPECT_NE(texts(hot).at(1).find("colour E54A07"), std::string::npos);
  EXPECT_FALSE(hot.starting("icon a2").empty());

  link.onMouseMove(control);  // still hot: no second leave request, no repaint
  EXPECT_EQ(control.trackRequests.size(), 1u);
  EXPECT_EQ(control.invalidations, 1);

  EXPECT_EQ(link.onMouseLeave(control), 0);
  EXPECT_FALSE(link.hot());
  EXPECT_EQ(control.currentImage, arrow);
  EXPECT_EQ(control.invalidations, 2);
  const RecordingPainter left = draw();
  EXPECT_EQ(penColour(left), linkNormalPenColour);
  EXPECT_NE(texts(left).at(0).find("colour 993300"), std::string::npos);
  EXPECT_EQ(penColour(draw(drawStateFocus)), linkFocusPenColour);

  link.onMouseMove(control);  // leave tracking is asked for again
  EXPECT_EQ(control.trackRequests.size(), 2u);
}

TEST_F(CommandLink, AFailedLeaveRequestIsTriedAgainOnTheNextMove) {
  control.trackingWorks = false;
  link.onMouseMove(control);
  link.onMouseMove(control);
  EXPECT_EQ(control.trackRequests.size(), 2u);
}

TEST_F(CommandLink, PressedHasAGreyFaceAndBlueText) {
  link.onMouseMove(control);
  const RecordingPainter dc = draw(drawStateSelected);
  EXPECT_FALSE(dc.starting("fill (1,1)-(399,79) F0F0F0").empty());
  EXPECT_NE(texts(dc).at(0).find("colour 993300"), std::string::npos);
}

TEST_F(CommandLink, FocusRectangleAndMnemonicsFollowTheKeyboardCues) {
  const RecordingPainter focused = draw(drawStateFocus);
  EXPECT_EQ(focused.starting("focus rect"), std::vector<std::string>{"focus rect (2,3)-(398,77)"});
  EXPECT_NE(texts(focused).at(0).find("format 60"), std::string::npos);

  control.state = uiStateHideFocus | uiStateHideAccelerators;
  control.caption = u"&Ignore Requirement\nnote";
  const RecordingPainter hidden = draw(drawStateFocus);
  EXPECT_TRUE(hidden.starting("focus rect").empty());
  EXPECT_NE(texts(hidden).at(0).find("format 100060"), std::string::npos);
  EXPECT_NE(texts(hidden).at(1).find("format 850"), std::string::npos);  // notes show "&"
}

TEST_F(CommandLink, TheShieldStaysWhenHovered) {
  const IconHandle shield = reinterpret_cast<IconHandle>(0x5A);
  control.currentImage = shield;
  link.onMouseMove(control);
  EXPECT_EQ(control.currentImage, shield);
  link.onMouseLeave(control);
  EXPECT_EQ(control.currentImage, shield);
}

TEST_F(CommandLink, UiStateChangeRepaintsAndTheBackgroundIsLeftAlone) {
  link.onUiStateChange(control);
  EXPECT_EQ(control.invalidations, 1);
  EXPECT_EQ(link.onEraseBackground(), 1);
}

TEST(CommandLinkPens, FailingPensAreReportedAndReplacedPensReleased) {
  FakePlatform platform;
  {
    CXTaskDialogCommandLink link;
    EXPECT_TRUE(link.initialise(platform, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(platform.liveObjects(), 3u);
    EXPECT_TRUE(link.initialise(platform, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(platform.liveObjects(), 3u);
    platform.failPens = true;
    EXPECT_FALSE(link.initialise(platform, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(platform.liveObjects(), 0u);
  }
  EXPECT_EQ(platform.liveObjects(), 0u);
}

}  // namespace
}  // namespace quorlex
