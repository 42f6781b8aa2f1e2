#include <gtest/gtest.h>

#include "taskdialog/task_dialog.h"
#include "tests/taskdialog/recording_painter.h"
#include "tests/taskdialog/task_dialog_fixture.h"

namespace quorlex {
namespace {

using test_support::FakeDialogWindow;
using test_support::Notification;
using test_support::TaskDialogFixture;

class TaskDialogDetails : public TaskDialogFixture {
 protected:
  void SetUp() override {
    config.pszContent = recordText(u"Content");
    config.pszExpandedInformation = recordText(u"Details");
    config.pszVerificationText = recordText(u"Remember");
    config.pszFooter = recordText(u"Footer");
    config.dwCommonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON;
    addFlags(TDF_SHOW_PROGRESS_BAR);
    setRadioButtons({makeButton(10, u"One")});
  }

  // The details control's height as the window has it.
  static void setDetailsHeight(FakeDialogWindow& w, int id, int height) {
    Rect& rect = w.control(id).rect;
    rect.bottom = rect.top + height;
  }
  // Runs the animation timer until it stops; the number of steps.
  static int animate(FakeDialogWindow& w, CXTaskDialog& d) {
    int steps = 0;
    while (w.timers.count(2) != 0 && steps < 100) {
      d.onTimer(2);
      ++steps;
    }
    return steps;
  }
  static std::vector<std::string> paint(CXTaskDialog& d) {
    test_support::RecordingPainter dc;
    d.onEraseBackground(dc);
    return dc.ops;
  }
  std::vector<int> below() const {
    return {ids().detailsButton, ids().verification, ids().footer, idOk, idCancel};
  }
  std::vector<int> above() const { return {10, ids().progressBar}; }
  std::map<int, int> tops(FakeDialogWindow& w, const std::vector<int>& controls) const {
    std::map<int, int> result;
    for (int id : controls) result[id] = w.control(id).rect.top;
    return result;
  }
};

TEST_F(TaskDialogDetails, FortyFivePixelsAnimateInElevenStepsOfFive) {
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              setDetailsHeight(w, ids().details, 45);
              const int frameHeight = w.frame.height();
              const int sep1 = d.layout().sep1;
              const std::map<int, int> belowBefore = tops(w, below());
              const std::map<int, int> aboveBefore = tops(w, above());

              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_TRUE(d.expanded());
              EXPECT_EQ(w.control(ids().detailsButton).text, u"Hide &details <<");
              EXPECT_EQ(w.timers.at(2), 25u);
              EXPECT_TRUE(w.contains("invalidate"));
              EXPECT_TRUE(w.contains("update"));
              for (int id : below()) EXPECT_FALSE(w.control(id).visible) << id;
              EXPECT_FALSE(w.control(ids().details).visible);
              for (int id : above()) {
                EXPECT_EQ(w.control(id).rect.top, aboveBefore.at(id) + 55) << id;  // at once
              }
              // While it animates the whole background is white.
              EXPECT_EQ(paint(d).size(), 1u);

              EXPECT_EQ(animate(w, d), 11);
              EXPECT_EQ(w.frame.height(), frameHeight + 55);
              for (int id : below()) {
                EXPECT_TRUE(w.control(id).visible) << id;
                EXPECT_EQ(w.control(id).rect.top, belowBefore.at(id) + 55) << id;
              }
              EXPECT_TRUE(w.control(ids().details).visible);
              EXPECT_EQ(w.focus, ids().detailsButton);
              EXPECT_EQ(paint(d).at(0), "fill (0,0)-(" + std::to_string(w.client.width) + "," +
                                            std::to_string(sep1 + 55) + ") FFFFFF");
              d.onCommand(idOk, 0);
            }),
            resultOk);
  const std::vector<Notification> toggles = callback.withCode(TDN_EXPANDO_BUTTON_CLICKED);
  ASSERT_EQ(toggles.size(), 1u);
  EXPECT_EQ(toggles[0].wParam, 1u);
}

TEST_F(TaskDialogDetails, FortyOnePixelsGrowTheWindowByWholeSteps) {
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              setDetailsHeight(w, ids().details, 41);
              const int frameHeight = w.frame.height();
              const std::map<int, int> belowBefore = tops(w, below());
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_EQ(animate(w, d), 11);
              EXPECT_EQ(w.frame.height(), frameHeight + 55);
              EXPECT_EQ(w.control(idOk).rect.top, belowBefore.at(idOk) + 51);

              // And back: the same steps the other way.
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_FALSE(w.control(ids().details).visible);
              EXPECT_EQ(animate(w, d), 11);
              EXPECT_EQ(w.frame.height(), frameHeight);
              EXPECT_EQ(tops(w, below()), belowBefore);
              EXPECT_FALSE(w.control(ids().details).visible);
              EXPECT_EQ(w.control(ids().detailsButton).text, u"See &details >>");
              d.onCommand(idOk, 0);
            }),
            resultOk);
  std::vector<WParam> states;
  for (const Notification& n : callback.withCode(TDN_EXPANDO_BUTTON_CLICKED)) {
    states.push_back(n.wParam);
  }
  EXPECT_EQ(states, (std::vector<WParam>{1, 0}));
}

TEST_F(TaskDialogDetails, WithoutAnimationEverythingMovesAtOnce) {
  platform.animationPreference = false;
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              setDetailsHeight(w, ids().details, 45);
              const int frameHeight = w.frame.height();
              const int sep1 = d.layout().sep1;
              const int sep2 = d.layout().sep2;
              const std::map<int, int> belowBefore = tops(w, below());
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_TRUE(w.timers.empty());
              EXPECT_EQ(w.frame.height(), frameHeight + 55);
              EXPECT_TRUE(w.control(ids().details).visible);
              for (int id : below()) {
                EXPECT_TRUE(w.control(id).visible) << id;
                EXPECT_EQ(w.control(id).rect.top, belowBefore.at(id) + 55) << id;
              }
              const std::vector<std::string> bands = paint(d);
              EXPECT_EQ(bands.at(1), "fill (0," + std::to_string(sep1 + 55) + ")-(" +
                                         std::to_string(w.client.width) + "," +
                                         std::to_string(sep1 + 56) + ") E9E9E9");
              EXPECT_EQ(bands.at(4), "fill (0," + std::to_string(sep2 + 55) + ")-(" +
                                         std::to_string(w.client.width) + "," +
                                         std::to_string(sep2 + 56) + ") FFFFFF");

              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_EQ(w.frame.height(), frameHeight);
              EXPECT_FALSE(w.control(ids().details).visible);
              EXPECT_EQ(tops(w, below()), belowBefore);
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogDetails, FooterDetailsWithoutAnimationShowAtOnce) {
  platform.animationPreference = false;
  addFlags(TDF_EXPAND_FOOTER_AREA);
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              const int detailsHeight = w.control(ids().details).rect.height();
              const int frameHeight = w.frame.height();
              const int clientBottom = w.client.height;
              const std::map<int, int> belowBefore = tops(w, below());
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              // The details' height + 20, less the frame below the client area.
              EXPECT_EQ(w.frame.height(), frameHeight + detailsHeight + 20 - test_support::frameWidth);
              EXPECT_TRUE(w.control(ids().details).visible);
              EXPECT_EQ(tops(w, below()), belowBefore);  // nothing above them moved
              const std::vector<std::string> bands = paint(d);
              EXPECT_EQ(bands.at(bands.size() - 3),
                        "fill (0," + std::to_string(clientBottom - 1) + ")-(" +
                            std::to_string(w.client.width) + "," + std::to_string(clientBottom) +
                            ") E9E9E9");

              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_EQ(w.frame.height(), frameHeight);
              EXPECT_FALSE(w.control(ids().details).visible);
              EXPECT_EQ(paint(d).size(), 6u);  // back to two bands
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogDetails, FooterDetailsAnimateWithTheirSeparatorWaiting) {
  addFlags(TDF_EXPAND_FOOTER_AREA);
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              setDetailsHeight(w, ids().details, 33);
              const int clientBottom = w.client.height;
              const int frameHeight = w.frame.height();
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              // Δ = 33 + 20 − 3 = 50: ten steps of five; nothing else is hidden.
              EXPECT_TRUE(w.control(idOk).visible);
              EXPECT_EQ(paint(d).size(), 6u);
              EXPECT_EQ(animate(w, d), 10);
              EXPECT_EQ(w.frame.height(), frameHeight + 50);
              EXPECT_TRUE(w.control(ids().details).visible);
              const std::vector<std::string> bands = paint(d);
              ASSERT_EQ(bands.size(), 9u);
              EXPECT_EQ(bands[7], "fill (0," + std::to_string(clientBottom) + ")-(" +
                                      std::to_string(w.client.width) + "," +
                                      std::to_string(clientBottom + 1) + ") FFFFFF");
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogDetails, UpToVersionFiveItAlwaysAnimates) {
  platform.majorVersion = 5;
  platform.animationPreference = false;
  ASSERT_EQ(run([this](FakeDialogWindow& w, CXTaskDialog& d) {
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              EXPECT_EQ(w.timers.count(2), 1u);
              animate(w, d);
              d.onCommand(idOk, 0);
            }),
            resultOk);
}

TEST_F(TaskDialogDetails, DestroyStopsARunningAnimation) {
  ASSERT_EQ(run([this](FakeDialogWindow&, CXTaskDialog& d) {
              d.onCommand(static_cast<WParam>(ids().detailsButton), 0);
              d.onCommand(idOk, 0);
            }),
            resultOk);
  EXPECT_TRUE(window().contains("stop timer 2"));
}

}  // namespace
}  // namespace quorlex
