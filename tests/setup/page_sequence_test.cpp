#include "setup/page_sequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorlex {
namespace {

class RecordingPage final : public ISetupPage {
 public:
  RecordingPage(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  std::int32_t templateId() const override { return 0; }
  std::u16string_view title() const override { return u""; }
  bool onInitDialog() override { return note("init"); }
  bool onSetActive() override { return note("active"); }
  bool onKillActive() override {
    note("leave");
    return mayLeave;
  }
  void onOK() override { note("ok"); }
  bool mayLeave = true;

 private:
  bool note(const char* hook) {
    log_.push_back(name_ + "." + hook);
    return true;
  }
  std::string name_;
  std::vector<std::string>& log_;
};

class PageSequenceTest : public testing::Test {
 protected:
  std::vector<std::string> log;
  RecordingPage general{"general", log};
  RecordingPage mapping{"mapping", log};
  std::vector<ISetupPage*> pages{&general, &mapping};
};

TEST_F(PageSequenceTest, OkOnTheFirstPageGivesOnlyThatPageItsOk) {
  PageSequence sequence(pages);
  EXPECT_TRUE(sequence.pressOk());
  EXPECT_EQ(log, (std::vector<std::string>{"general.init", "general.active", "general.leave", "general.ok"}));
}

TEST_F(PageSequenceTest, OkOnTheSecondPageLeavesItThenGivesEveryInitialisedPageItsOk) {
  PageSequence sequence(pages);
  EXPECT_TRUE(sequence.show(1));
  EXPECT_TRUE(sequence.show(0));
  EXPECT_TRUE(sequence.show(1));
  log.clear();
  EXPECT_TRUE(sequence.pressOk());
  EXPECT_EQ(log, (std::vector<std::string>{"mapping.leave", "general.ok", "mapping.ok"}));
}

TEST_F(PageSequenceTest, APageThatRefusesToBeLeftStaysShownAndKeepsTheSheetOpen) {
  PageSequence sequence(pages);
  sequence.show(1);
  mapping.mayLeave = false;
  log.clear();
  EXPECT_FALSE(sequence.show(0));
  EXPECT_EQ(sequence.shownPage(), 1u);
  EXPECT_FALSE(sequence.pressOk());
  EXPECT_EQ(log, (std::vector<std::string>{"mapping.leave", "mapping.leave"}));
}

TEST_F(PageSequenceTest, ThePageIsInitialisedOnlyTheFirstTimeItIsShown) {
  PageSequence sequence(pages);
  EXPECT_FALSE(sequence.isInitialised(1));
  sequence.show(1);
  sequence.show(0);
  sequence.show(1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "mapping.init"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "mapping.active"), 2);
  EXPECT_FALSE(sequence.show(2));
}

// Stepping goes round the ends and asks the shown page first, like choosing from the list.
TEST_F(PageSequenceTest, SteppingGoesRoundTheEndsAndLeavesTheShownPageFirst) {
  PageSequence sequence(pages);
  EXPECT_TRUE(sequence.step(true));
  EXPECT_EQ(sequence.shownPage(), 1u);
  EXPECT_TRUE(sequence.step(true));
  EXPECT_EQ(sequence.shownPage(), 0u);
  EXPECT_TRUE(sequence.step(false));
  EXPECT_EQ(sequence.shownPage(), 1u);
  mapping.mayLeave = false;
  log.clear();
  EXPECT_FALSE(sequence.step(false));
  EXPECT_EQ(sequence.shownPage(), 1u);
  EXPECT_EQ(log, (std::vector<std::string>{"mapping.leave"}));
}

TEST(PageStepForKey, OnlyControlWithTabOrPageKeysSwitchesPages) {
  struct Case {
    SheetKey key;
    bool control, shift;
    std::optional<bool> step;
  };
  for (const Case& c : {Case{SheetKey::tab, true, false, true}, Case{SheetKey::tab, true, true, false},
                        Case{SheetKey::pageDown, true, false, true}, Case{SheetKey::pageUp, true, false, false},
                        Case{SheetKey::pageDown, true, true, true}, Case{SheetKey::tab, false, false, std::nullopt},
                        Case{SheetKey::tab, false, true, std::nullopt}, Case{SheetKey::pageUp, false, false, std::nullopt},
                        Case{SheetKey::other, true, false, std::nullopt}}) {
    EXPECT_EQ(pageStepForKey(c.key, c.control, c.shift), c.step)
        << static_cast<int>(c.key) << " control " << c.control << " shift " << c.shift;
  }
}

}  // namespace
}  // namespace quorlex
