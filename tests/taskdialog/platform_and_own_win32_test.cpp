// The platform's task dialog and the own dialog driven the same way give the same answers.
#include <functional>

#include "tests/taskdialog/on_screen_win32.h"

namespace quorlex::test_support {
namespace {

const char* links = R"({"windowTitle": "Driven", "mainInstruction": "Pick one", "flags": ["TDF_USE_COMMAND_LINKS"],
  "buttons": [{"id": 541, "text": "Map\nA note"}, {"id": 542, "text": "Ignore"}]})";
const char* cancellableLinks = R"({"windowTitle": "Driven", "mainInstruction": "Pick one",
  "flags": ["TDF_USE_COMMAND_LINKS", "TDF_ALLOW_DIALOG_CANCELLATION"],
  "buttons": [{"id": 541, "text": "Map\nA note"}, {"id": 542, "text": "Ignore"}]})";
const char* buttons = R"({"windowTitle": "Driven", "mainInstruction": "Go on?", "commonButtons": ["OK", "Cancel"]})";
const char* radios = R"({"windowTitle": "Driven", "mainInstruction": "Choose", "commonButtons": ["OK"],
  "radioButtons": [{"id": 10, "text": "Ten"}, {"id": 11, "text": "Eleven"}]})";
const char* verification = R"({"windowTitle": "Driven", "mainInstruction": "Go on?", "commonButtons": ["OK"],
  "verificationText": "Do not ask again"})";

struct DrivingCase {
  const char* what;
  const char* json;
  std::function<void(HWND)> drive;
  int button;
  std::optional<int> radioButton;  // only where the request has radio buttons
  int verification;
  bool platformToo = true;
};

void escapeIgnoredThenLink(HWND dialog) {
  pressKey(dialog, VK_ESCAPE);
  pause(400);
  EXPECT_TRUE(IsWindowVisible(dialog)) << "Escape does nothing without cancellation";
  click(GetDlgItem(dialog, 542));
}

const DrivingCase drivingCases[] = {
    {"clicking a link", links, [](HWND d) { click(GetDlgItem(d, 541)); }, 541, {}, 0},
    {"clicking a button", buttons, [](HWND d) { click(GetDlgItem(d, IDOK)); }, IDOK, {}, 0},
    {"a radio button, then OK", radios,
     [](HWND d) {
       click(GetDlgItem(d, 11));
       pause(200);
       click(GetDlgItem(d, IDOK));
     },
     IDOK, 11, 0},
    {"the check box, then OK", verification,
     [](HWND d) {
       click(findChild(d, L"Button", L"Do not ask again"));
       pause(200);
       click(GetDlgItem(d, IDOK));
     },
     IDOK, {}, 1},
    {"Escape without cancellation", links, escapeIgnoredThenLink, 542, {}, 0},
    // Wine's task dialog turns Escape into Cancel only when it has a Cancel button, whatever the
    // cancellation flag says; the close box it does honour (next case).
    {"Escape with cancellation", cancellableLinks, [](HWND d) { pressKey(d, VK_ESCAPE); }, IDCANCEL, {}, 0, false},
    {"the close box with cancellation", cancellableLinks, [](HWND d) { (void)PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
     IDCANCEL, {}, 0},
    {"the close box", buttons, [](HWND d) { (void)PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL, {}, 0},
};

TEST(PlatformAndOwnDialog, DrivenTheSameWayGiveTheSameAnswers) {
  for (const DrivingCase& c : drivingCases) {
    for (const bool own : {false, true}) {
      if (!own && !c.platformToo) continue;
      SCOPED_TRACE(std::string(c.what) + (own ? " (own dialog)" : " (platform's dialog)"));
      auto read = request(c.json);
      ShownDialog shown(read->config(ownModule()), own);
      HWND dialog = shown.window(L"Driven");
      ASSERT_NE(dialog, nullptr);
      c.drive(dialog);
      const Answers& answers = shown.answers();
      EXPECT_EQ(answers.result, resultOk);
      EXPECT_EQ(answers.button, c.button);
      if (c.radioButton) {
        EXPECT_EQ(answers.radioButton, *c.radioButton);
      }
      EXPECT_EQ(answers.verification, c.verification);
    }
  }
}

}  // namespace
}  // namespace quorlex::test_support
