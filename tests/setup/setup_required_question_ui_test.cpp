// The required-mapping question as the setup sheet asks it on screen: the real sheet, its
// Data Mapping page asking through Win32SetupPlatform as the setup script wires it, and the
// real task dialog, the platform's or, when the platform's entry is missing, the own one. An
// administrator on the Data Mapping page, with a required parameter unmapped, chooses
// "General" in the page list and answers the question with a click or the keyboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "common/activation_context_win32.h"
#include "common/com_apartment.h"
#include "common/own_module_win32.h"
#include "resources/string_table.h"
#include "setup/general_page.h"
#include "setup/mapping_page.h"
#include "setup/mapping_page_win32.h"
#include "setup/parameter_table.h"
#include "setup/required_question.h"
#include "setup/setup_platform_win32.h"
#include "setup/setup_script.h"
#include "setup/task_dialog_question.h"
#include "setup_fakes.h"
#include "sheet_driver_win32.h"
#include "taskdialog/task_dialog_services_win32.h"
#include "testhost/memory_host.h"
#include "tests/support/screen_capture_win32.h"
#include "tests/support/window_driver_win32.h"

namespace quorlex {
namespace {

using namespace test_support;

const std::wstring questionCaption = L"Required field not Mapped";

bool generalPageShown(HWND sheet) { return visibleControl(sheet, generalControl::instanceName) != nullptr; }

struct ButtonSearch {
  std::wstring start;
  HWND found = nullptr;
};

BOOL CALLBACK matchButton(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ButtonSearch*>(data);
  wchar_t className[16] = {};
  (void)GetClassNameW(window, className, 16);
  if (lstrcmpiW(className, L"Button") == 0 && windowText(window).starts_with(search.start)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// A command link of the question, by its class and the start of its text (the note follows).
HWND commandLink(HWND question, const std::wstring& mainText) {
  ButtonSearch search{mainText};
  (void)EnumChildWindows(question, &matchButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A common-controls library without TaskDialogIndirect.
class PlatformWithoutEntry final : public IPlatformTaskDialog {
 public:
  ResultCode run(const std::function<ResultCode(const TaskDialogFunction&)>&) override {
    return fromPlatformError(ERROR_PROC_NOT_FOUND);
  }
};

PlatformWithoutEntry withoutEntry;

// The services of the component, the platform's dialog missing; without the own dialog as
// well, no question can appear.
TaskDialogClientServices withoutPlatformDialog(bool ownDialog) {
  TaskDialogClientServices services = win32TaskDialogClientServices();
  services.platformDialog = &withoutEntry;
  if (!ownDialog) services.ownDialog = {};
  return services;
}

// The own dialog's command links are owner-drawn buttons; the platform's are its own kind.
bool ownDialogShown(HWND question) {
  HWND link = GetDlgItem(question, requiredQuestion::mapButton);
  return (GetWindowLongPtrW(link, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// The question over the sheet, as one picture.
bool saveQuestionOverSheet(HWND sheet, HWND question, const std::wstring& name) {
  RECT sheetRect{}, questionRect{}, both{};
  (void)GetWindowRect(sheet, &sheetRect);
  (void)GetWindowRect(question, &questionRect);
  (void)UnionRect(&both, &sheetRect, &questionRect);
  std::optional<CapturedImage> image = captureScreen(both);
  return image && savePng(*image, screenshotFolder() + L"\\" + name);
}

enum class Dialog { platform, own, none };
enum class Answer { clickMap, clickIgnore, enterForDefault };

struct QuestionCase {
  const char* what;
  Dialog dialog;
  Answer answer;
  bool keepsPage;
  const wchar_t* screenshot = nullptr;
};
void PrintTo(const QuestionCase& row, std::ostream* out) { *out << row.what; }

const QuestionCase questionCases[] = {
    {"platform's dialog, Map Required Fields clicked", Dialog::platform, Answer::clickMap, true,
     L"setup-required-question.png"},
    {"platform's dialog, Ignore Requirement clicked", Dialog::platform, Answer::clickIgnore, false},
    {"platform's dialog, Enter for the default link", Dialog::platform, Answer::enterForDefault, true},
    {"own dialog, Map Required Fields clicked", Dialog::own, Answer::clickMap, true},
    {"own dialog, Ignore Requirement clicked", Dialog::own, Answer::clickIgnore, false},
    {"own dialog, Enter for the default link", Dialog::own, Answer::enterForDefault, true},
    {"no dialog can appear", Dialog::none, Answer::clickMap, true},
};

// A table with Parameter 4 required and unmapped, on the sheet the platform makes, the
// Data Mapping page asking through the platform's question dialogs as the setup script does.
class RequiredQuestionOnSheet : public testing::TestWithParam<QuestionCase> {
 protected:
  void SetUp() override {
    installWin32TaskDialogServices();  // as the component does when it loads
    table.fillDefaults();
    table.row(3).required = 1;
    general.setTable(&table);
    mapping.setTable(&table);
  }

  std::shared_ptr<ISetupPlatform> platformFor(Dialog dialog) {
    if (dialog == Dialog::platform) return std::make_shared<Win32SetupPlatform>(ownModule());
    return std::make_shared<Win32SetupPlatform>(ownModule(),
                                                taskDialogQuestions(withoutPlatformDialog(dialog == Dialog::own)));
  }

  // The sheet on this thread inside the component's activation context, as the host calls
  // RunUI; drive plays the administrator on another thread and must close the sheet.
  bool run(Dialog dialog, const std::function<void(HWND)>& drive) {
    platform = platformFor(dialog);
    SetupSheetLayout layout;
    layout.caption = loadMessage(setupSheetCaption);
    bool ok = false;
    driveSheet(drive, [&] {
      ComponentActivationContext context(ownModule());
      ok = platform->createSheet()->runModal(layout, SetupSheetPages{general, mapping});
    });
    return ok;
  }

  ComApartment apartment;
  MemoryHost host;
  std::shared_ptr<IReleaseSetupData> data = host.setupData();  // the table keeps a reference to it
  CParameterTable table{data};
  test_support::FixedVersionSource version;
  CPropertyPageSetupGeneral general{version};
  std::shared_ptr<ISetupPlatform> platform;
  int questionsAsked = 0;
  CPropertyPageSetupMapping mapping{[this](std::u16string_view name) {
    ++questionsAsked;
    return askRequiredFields([this] { return platform->createQuestionDialog(); }, name);
  }};
};

TEST_P(RequiredQuestionOnSheet, LeavingTheDataMappingPageAsksAndTheAnswerDecides) {
  const QuestionCase& c = GetParam();
  bool ok = run(c.dialog, [&](HWND sheet) {
    choosePage(sheet, 1);
    ASSERT_TRUE(waitUntil([&] { return mappingPageShown(sheet); }));
    // Parameter 1 selected, so that the question's answer has to move the selection.
    HWND grid = visibleControl(sheet, propertyGridControlId);
    ASSERT_NE(grid, nullptr);
    (void)PostMessageW(grid, WM_KEYDOWN, VK_HOME, 1);
    (void)PostMessageW(grid, WM_KEYDOWN, VK_DOWN, 1);
    (void)SetCursorPos(0, 0);  // no link hot in the picture

    choosePage(sheet, 0);
    if (c.dialog == Dialog::none) {
      EXPECT_TRUE(waitUntil([&] { return questionsAsked == 1; }));
      std::this_thread::sleep_for(300ms);
      EXPECT_EQ(waitForWindow(questionCaption, nullptr, 200ms), nullptr);
    } else {
      HWND question = waitForWindow(questionCaption);
      ASSERT_NE(question, nullptr) << "no question appeared";
      EXPECT_EQ(ownDialogShown(question), c.dialog == Dialog::own);
      EXPECT_EQ(GetWindow(question, GW_OWNER), sheet);
      EXPECT_FALSE(IsWindowEnabled(sheet));  // modal over the sheet
      HWND map = commandLink(question, L"Map Required Fields");
      HWND ignore = commandLink(question, L"Ignore Requirement");
      ASSERT_NE(map, nullptr);
      ASSERT_NE(ignore, nullptr);
      EXPECT_EQ(GetDlgCtrlID(map), requiredQuestion::mapButton);
      EXPECT_EQ(GetDlgCtrlID(ignore), requiredQuestion::ignoreButton);
      EXPECT_NE(windowText(map).find(L"beginning with 'Parameter 4'."), std::wstring::npos);
      if (c.screenshot) {
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(saveQuestionOverSheet(sheet, question, c.screenshot));
      }
      switch (c.answer) {
        case Answer::clickMap: click(map); break;
        case Answer::clickIgnore: click(ignore); break;
        case Answer::enterForDefault:
          (void)SetForegroundWindow(question);
          EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == question; }));
          pressKey(VK_RETURN);
          break;
      }
      ASSERT_TRUE(waitForClose(question));
      EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(sheet) != FALSE; }));
    }
    if (c.keepsPage) {
      EXPECT_TRUE(waitUntil([&] { return shownPageIndex(sheet) == 1; }));
      std::this_thread::sleep_for(200ms);
      EXPECT_TRUE(mappingPageShown(sheet));
      EXPECT_FALSE(generalPageShown(sheet));
      EXPECT_EQ(shownPageIndex(sheet), 1);
    } else {
      EXPECT_TRUE(waitUntil([&] { return generalPageShown(sheet) && !mappingPageShown(sheet); }));
      EXPECT_EQ(shownPageIndex(sheet), 0);
    }
    click(GetDlgItem(sheet, IDCANCEL));
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(questionsAsked, 1);
  const CMappedProperty* selected = mapping.grid().selected();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->name(), c.keepsPage ? u"Parameter 4" : u"Parameter 1");
}

INSTANTIATE_TEST_SUITE_P(EachDialogAndAnswer, RequiredQuestionOnSheet, testing::ValuesIn(questionCases),
                         [](const testing::TestParamInfo<QuestionCase>& info) {
                           std::string name = info.param.what;
                           std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
                           return name;
                         });

}  // namespace
}  // namespace quorlex
