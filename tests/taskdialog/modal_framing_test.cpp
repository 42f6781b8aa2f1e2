#include "taskdialog/modal_framing.h"

#include <gtest/gtest.h>

#include "tests/taskdialog/record_field.h"

#include "tests/taskdialog/fake_modal_framing.h"

namespace quorlex {
namespace {

using test_support::FakeModalFraming;
using test_support::fakeWindow;

const WindowHandle page = fakeWindow(10);
const WindowHandle sheet = fakeWindow(20);

class ModalFraming : public ::testing::Test {
 protected:
  ModalFraming() {
    framing.windows[page].topLevel = sheet;
    framing.windows[sheet];
  }
  ResultCode runDialog(std::uint32_t helpPromptId = 0) {
    return runModalFramed(&framing, config, helpPromptId, [this] {
      ownerWhileShown = config.hwndParent;
      sheetEnabledWhileShown = framing.windows[sheet].enabled;
      pageContextWhileShown = framing.windows[page].helpPromptContext;
      appContextWhileShown = framing.applicationContext;
      framing.events.push_back("dialog");
      return static_cast<ResultCode>(0x80070008);
    });
  }

  FakeModalFraming framing;
  TASKDIALOGCONFIG config{};
  WindowHandle ownerWhileShown = nullptr;
  bool sheetEnabledWhileShown = true;
  std::uint32_t pageContextWhileShown = 0;
  std::uint32_t appContextWhileShown = 0;
};

TEST_F(ModalFraming, DisablesTheTopLevelWindowAroundTheDialog) {
  config.hwndParent = page;
  EXPECT_EQ(runDialog(), static_cast<ResultCode>(0x80070008));
  EXPECT_EQ(framing.events, (std::vector<std::string>{"modeless disabled", "disable 20",
                                                      "enable 10", "dialog", "enable 20",
                                                      "modeless enabled"}));
  EXPECT_EQ(ownerWhileShown, page);
  EXPECT_FALSE(sheetEnabledWhileShown);
  EXPECT_TRUE(framing.windows[sheet].enabled);
  EXPECT_EQ(test_support::field(config.hwndParent), page);
}

TEST_F(ModalFraming, ADisabledTopLevelWindowStaysDisabled) {
  config.hwndParent = page;
  framing.windows[sheet].enabled = false;
  runDialog();
  EXPECT_EQ(framing.events, (std::vector<std::string>{"modeless disabled", "enable 10", "dialog",
                                                      "modeless enabled"}));
  EXPECT_FALSE(framing.windows[sheet].enabled);
}

TEST_F(ModalFraming, ATopLevelOwnerIsLeftToTheDialog) {
  config.hwndParent = sheet;
  runDialog();
  EXPECT_EQ(framing.events,
            (std::vector<std::string>{"modeless disabled", "dialog", "modeless enabled"}));
}

TEST_F(ModalFraming, WithoutParentTheMainWindowsPopupOwnsIt) {
  framing.mainWindowPopup = sheet;
  runDialog();
  EXPECT_EQ(ownerWhileShown, sheet);
  framing.mainWindowPopup = nullptr;
  config.hwndParent = nullptr;
  runDialog();
  EXPECT_EQ(ownerWhileShown, nullptr);
}

TEST_F(ModalFraming, HelpPromptIdSetsTheOwnersContextWhileShown) {
  config.hwndParent = page;
  framing.windows[page].helpPromptContext = 77;
  runDialog(5);
  EXPECT_EQ(pageContextWhileShown, 0x30005u);
  EXPECT_EQ(framing.windows[page].helpPromptContext, 77u);
  EXPECT_EQ(appContextWhileShown, 0u);

  runDialog(0);
  EXPECT_EQ(pageContextWhileShown, 77u);
}

TEST_F(ModalFraming, OtherwiseTheApplicationsContext) {
  config.hwndParent = page;
  framing.windows[page].answersHelpPrompt = false;
  framing.applicationContext = 9;
  runDialog(5);
  EXPECT_EQ(appContextWhileShown, 0x30005u);
  EXPECT_EQ(framing.applicationContext, 9u);

  framing.windows[page].answersHelpPrompt = true;
  framing.windows[page].ourProcess = false;  // not asked across processes
  runDialog(6);
  EXPECT_EQ(appContextWhileShown, 0x30006u);
  EXPECT_EQ(pageContextWhileShown, 0u);
}

TEST(ModalFramingAbsent, TheDialogRunsAsItIs) {
  TASKDIALOGCONFIG config{};
  config.hwndParent = page;
  WindowHandle owner = nullptr;
  EXPECT_EQ(runModalFramed(nullptr, config, 5,
                           [&] {
                             owner = config.hwndParent;
                             return resultOk;
                           }),
            resultOk);
  EXPECT_EQ(owner, page);
}

}  // namespace
}  // namespace quorlex
