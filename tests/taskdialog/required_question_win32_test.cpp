// The required-mapping question on screen through the real TaskDialogQuestion and the services
// installed as the component installs them: as the platform's dialog, and as the own dialog
// where the platform's entry is missing.
#include <objbase.h>

#include "setup/required_question.h"
#include "setup/task_dialog_question.h"
#include "tests/taskdialog/on_screen_win32.h"

namespace quorlex::test_support {
namespace {

// A common-controls library without TaskDialogIndirect.
class PlatformWithoutEntry final : public IPlatformTaskDialog {
 public:
  ResultCode run(const std::function<ResultCode(const TaskDialogFunction&)>&) override {
    return fromPlatformError(ERROR_PROC_NOT_FOUND);
  }
};

PlatformWithoutEntry withoutEntry;

QuestionDialogFactory installedQuestions() {
  installWin32TaskDialogServices();
  return [] { return std::make_unique<TaskDialogQuestion>(); };
}

TaskDialogClientServices ownDialogOnly() {
  TaskDialogClientServices services = win32TaskDialogClientServices();
  services.platformDialog = &withoutEntry;
  return services;
}

// The own dialog's command links are owner-drawn buttons; the platform's are its own kind.
bool ownDialogShown(HWND dialog) {
  return (GetWindowLongPtrW(GetDlgItem(dialog, requiredQuestion::mapButton), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

struct QuestionCase {
  const char* what;
  bool own;
  int choice;
  bool answer;
  const wchar_t* screenshot;
};

const QuestionCase questionCases[] = {
    {"platform, map", false, requiredQuestion::mapButton, true, L"task-dialog-required-platform.png"},
    {"platform, ignore", false, requiredQuestion::ignoreButton, false, nullptr},
    {"own, map", true, requiredQuestion::mapButton, true, L"task-dialog-required-own.png"},
    {"own, ignore", true, requiredQuestion::ignoreButton, false, nullptr},
};

TEST(RequiredQuestionOnScreen, MapGivesTrueAndIgnoreFalseOnEitherDialog) {
  (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const QuestionCase& c : questionCases) {
    SCOPED_TRACE(c.what);
    const QuestionDialogFactory questions = c.own ? taskDialogQuestions(ownDialogOnly()) : installedQuestions();
    (void)SetCursorPos(0, 0);  // no link hot in the screenshots
    bool answer = !c.answer;
    DialogThread thread([&] { answer = askRequiredFields(questions, u"Parameter 4"); });
    HWND dialog = thread.waitForWindow(L"Required field not Mapped");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ownDialogShown(dialog), c.own);
    EXPECT_NE(windowText(GetDlgItem(dialog, requiredQuestion::mapButton)).find(L"beginning with 'Parameter 4'."),
              std::wstring::npos);
    if (c.screenshot != nullptr) {
      EXPECT_TRUE(ScreenCapture::ofWindow(dialog).savePng(screenshotPath(c.screenshot)));
    }
    click(GetDlgItem(dialog, c.choice));
    ASSERT_TRUE(thread.waitForEnd());
    EXPECT_EQ(answer, c.answer);
  }
  CoUninitialize();
}

// A display whose metrics cannot be read: the own dialog fails before it shows anything.
class BrokenDisplay final : public IDisplay {
 public:
  std::unique_ptr<ITextMeasurer> openMeasuringContext() override { return nullptr; }
  std::optional<std::int32_t> messageFontHeight() override { return std::nullopt; }
  std::optional<int> monitorWidthNearest(WindowHandle) override { return std::nullopt; }
  int screenWidth() override { return 0; }
  std::optional<Rect> monitorWorkAreaNearest(WindowHandle) override { return std::nullopt; }
  DialogBaseUnits dialogBaseUnits() override { return {}; }
  Colour buttonTextColour() override { return 0; }
  std::uint32_t platformMajorVersion() override { return 6; }
  bool clientAreaAnimation() override { return false; }
};

TEST(RequiredQuestionOnScreen, ADialogThatFailsToAppearCountsAsMapping) {
  static BrokenDisplay display;
  static const OwnDialogServices broken{*const_cast<ITaskDialogResources*>(&win32OwnDialogServices().resources),
                                        win32OwnDialogServices().graphics, display, win32OwnDialogServices().runner};
  TaskDialogClientServices services = ownDialogOnly();
  services.ownDialog = ownTaskDialogFunction(broken);
  bool answer = false;
  DialogThread asking([&] { answer = askRequiredFields(taskDialogQuestions(services), u"Parameter 4"); });
  ASSERT_TRUE(asking.waitForEnd());
  EXPECT_TRUE(answer);
}

}  // namespace
}  // namespace quorlex::test_support
