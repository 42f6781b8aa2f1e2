// The setup sheet's real windows under a display, driven from a second thread as an
// administrator would: by caption, class, control id and keys. The sheet runs on the test's
// main thread inside RunUI, with the component's activation context, as the host calls it.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>

#include "common/activation_context_win32.h"
#include "common/com_apartment.h"
#include "common/own_module_win32.h"
#include "common/text.h"
#include "recording_setup_data.h"
#include "resources/string_table.h"
#include "testhost/memory_host.h"
#include "setup/mapping_page_win32.h"
#include "setup/property_grid_window_win32.h"
#include "setup/parameter_table.h"
#include "setup/setup_platform_win32.h"
#include "setup/setup_script.h"
#include "setup/setup_sheet_win32.h"
#include "setup_fakes.h"
#include "sheet_driver_win32.h"
#include "tests/support/window_driver_win32.h"

namespace quorlex {
namespace {

using namespace test_support;
using test_support::RecordingQuestionDialog;
using test_support::RecordingSetupData;
namespace id = generalControl;

// The page's control as its template places it, in the page's client coordinates: the
// dialog manager maps the position and the size each on its own.
RECT templatePosition(HWND page, LONG x, LONG y, LONG width, LONG height) {
  RECT mapped{x, y, width, height};
  (void)MapDialogRect(page, &mapped);
  return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

RECT positionInParent(HWND control) {
  RECT rect{};
  (void)GetWindowRect(control, &rect);
  (void)MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class SetupSheetUi : public testing::Test {
 protected:
  void SetUp() override {
    SetupRecord& r = host.record();
    r.name = u"AS400 Invoices";
    r.userName = u"QUSER";
    r.password = u"old";
    r.batchClassName = u"Invoices";
    r.docClassName = u"Invoice";
    r.customProperties = {{u"serverURL", u"http://old"},
                          {u"ExitProgramProgram", u"INVPGM"},
                          {u"ExitProgramLibrary", u"QGPL"},
                          {u"ExitProgramDelimiter", u";"}};
    r.indexFields = {u"InvoiceNumber", u"Vendor"};
    r.batchVariableNames = {u"Batch Name", u"Scan Date"};
    r.links = {{u"InvoiceNumber", KFX_REL_INDEXFIELD, u"PARM1"}, {u"Batch Name", KFX_REL_VARIABLE, u"PARM2"},
               {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM3"}};
    before = r;
  }

  // RunUI on this thread while drive plays the administrator on another; drive gets the
  // sheet and must close it. A sheet still open afterwards is closed, and that fails.
  KfxReturnValue runSheet(const std::function<void(HWND)>& drive) {
    TarvSetupScript script(std::make_shared<Win32SetupPlatform>(ownModule()));
    script.setSetupData(recorder);
    KfxReturnValue result = KFX_REL_ERROR;
    driveSheet(drive, [&] {
      ComponentActivationContext context(ownModule());
      script.RunUI(result);
    });
    return result;
  }

  ComApartment apartment;
  MemoryHost host;
  std::shared_ptr<RecordingSetupData> recorder = std::make_shared<RecordingSetupData>(host.setupData());
  SetupRecord before;
};

struct TemplateControl {
  int id;
  const wchar_t* text;  // a label's text, or none
  LONG x, y, width, height;
  bool label = false;  // right-aligned: may grow to the left for its text
};

// Every control of template 11003 but the two group boxes, where the template puts it.
constexpr TemplateControl generalControls[] = {
    {11002, nullptr, 131, 39, 152, 13},
    {11017, nullptr, 131, 71, 152, 13},
    {11024, nullptr, 131, 87, 55, 13},
    {11025, nullptr, 131, 103, 55, 13},
    {11030, nullptr, 131, 145, 55, 13},
    {11028, nullptr, 131, 161, 55, 13},
    {11032, nullptr, 131, 177, 20, 13},
    {11056, L"Batch Class:", 77, 7, 40, 8, true},
    {11003, L"Invoices", 131, 7, 150, 8},
    {11004, L"Document Class:", 63, 23, 54, 8, true},
    {11005, L"Invoice", 131, 23, 50, 8},
    {11006, L"Export Connector Instance Name:", 7, 40, 110, 8, true},
    {11016, L"Brenno Address:", 63, 72, 54, 8, true},
    {11026, L"Username:", 81, 88, 36, 8, true},
    {11027, L"Password:", 83, 104, 34, 8, true},
    {11029, L"Library:", 91, 162, 26, 8, true},
    {11031, L"Exit Program Name:", 53, 146, 64, 8, true},
    {11033, L"Delimiter:", 86, 178, 31, 8, true},
    {11059, L"Version:", 90, 203, 27, 8, true},
    {11060, L"1.0.0", 131, 203, 89, 8},
};

// The width of the control's text on one line, in its font.
LONG textWidth(HWND control) {
  HDC dc = GetDC(control);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  std::wstring text = windowText(control);
  SIZE size{};
  (void)GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  (void)SelectObject(dc, previous);
  (void)ReleaseDC(control, dc);
  return size.cx;
}

TEST_F(SetupSheetUi, TheGeneralPageShowsTheRecordWithEveryControlWhereItsTemplatePutsIt) {
  runSheet([&](HWND sheet) {
    HWND list = pageList(sheet);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    wchar_t entry[32] = {};
    (void)SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"General");
    (void)SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"Data Mapping");
    EXPECT_EQ(shownPageIndex(sheet), 0);
    RECT listRect{};
    (void)GetWindowRect(list, &listRect);
    EXPECT_EQ(listRect.right - listRect.left, 100);
    HWND ok = GetDlgItem(sheet, IDOK);
    EXPECT_EQ(windowText(ok), L"OK");
    EXPECT_TRUE(GetWindowLongW(ok, GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_EQ(windowText(GetDlgItem(sheet, IDCANCEL)), L"Cancel");
    EXPECT_EQ(GetWindow(sheet, GW_OWNER), nullptr);  // no active window on this thread

    HWND page = GetParent(visibleControl(sheet, id::instanceName));
    for (const TemplateControl& c : generalControls) {
      HWND control = visibleControl(page, c.id);
      ASSERT_NE(control, nullptr) << c.id;
      RECT expected = templatePosition(page, c.x, c.y, c.width, c.height);
      RECT actual = positionInParent(control);
      if (c.label) {
        // Whole on its line; grown to the left only where the font needs it.
        EXPECT_LE(textWidth(control), actual.right - actual.left) << c.id;
        if (actual.left < expected.left) {
          EXPECT_GT(textWidth(control), expected.right - expected.left) << c.id;
        }
        expected.left = actual.left;
      }
      EXPECT_TRUE(EqualRect(&expected, &actual))
          << c.id << ": " << actual.left << "," << actual.top << " " << actual.right - actual.left << "x"
          << actual.bottom - actual.top << " instead of " << expected.left << "," << expected.top << " "
          << expected.right - expected.left << "x" << expected.bottom - expected.top;
      if (c.text) {
        EXPECT_EQ(windowText(control), c.text) << c.id;
      }
    }
    HWND password = GetDlgItem(page, id::password);
    EXPECT_TRUE(GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);
    EXPECT_NE(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(windowText(password), L"old");
    EXPECT_EQ(windowText(GetDlgItem(page, id::serverURL)), L"http://old");
    EXPECT_EQ(windowText(GetDlgItem(page, id::delimiter)), L";");

    // Filled in, as an administrator would, for the picture.
    setWindowText(GetDlgItem(page, id::instanceName), L"Invoices to IBM i");
    setWindowText(GetDlgItem(page, id::serverURL), L"https://ibmi.example.com:2001");
    setWindowText(GetDlgItem(page, id::userName), L"QUORLEX");
    setWindowText(password, L"s3cret");
    setWindowText(GetDlgItem(page, id::exitProgramName), L"INVEXIT");
    setWindowText(GetDlgItem(page, id::exitProgramLibrary), L"QUORLIB");
    setWindowText(GetDlgItem(page, id::delimiter), L"|");
    (void)SetForegroundWindow(sheet);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(saveScreenshot(sheet, L"setup-general.png"));
    click(GetDlgItem(sheet, IDCANCEL));
  });
  EXPECT_EQ(host.record(), before);
}

TEST_F(SetupSheetUi, OkStoresTheGeneralFieldsThenTheLinksThenAppliesOnce) {
  KfxReturnValue result = runSheet([&](HWND sheet) {
    HWND page = GetParent(visibleControl(sheet, id::instanceName));
    setWindowText(GetDlgItem(page, id::instanceName), L"Invoices to IBM i");
    setWindowText(GetDlgItem(page, id::serverURL), L"http://127.0.0.1:8080");
    setWindowText(GetDlgItem(page, id::userName), L"QUORLEX");
    setWindowText(GetDlgItem(page, id::password), L"s3cret");
    setWindowText(GetDlgItem(page, id::exitProgramName), L"INVEXIT");
    setWindowText(GetDlgItem(page, id::exitProgramLibrary), L"QUORLIB");
    setWindowText(GetDlgItem(page, id::delimiter), L",");
    choosePage(sheet, 1);
    EXPECT_TRUE(waitUntil([&] { return mappingPageShown(sheet); }));
    EXPECT_FALSE(IsWindowVisible(page));
    click(GetDlgItem(sheet, IDOK));
  });
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  EXPECT_EQ(recorder->calls,
            (std::vector<std::string>{"Links", "CustomProperties", "CustomProperties", "CustomProperties",
                                      "CustomProperties",  // loaded: links, then the General page
                                      "Name", "CustomProperties", "UserName", "Password", "CustomProperties",
                                      "CustomProperties", "CustomProperties", "Links", "Apply"}));
  ASSERT_TRUE(host.appliedRecord());
  const SetupRecord& applied = *host.appliedRecord();
  EXPECT_EQ(host.applyCount(), 1);
  EXPECT_EQ(applied.name, u"Invoices to IBM i");
  EXPECT_EQ(applied.userName, u"QUORLEX");
  EXPECT_EQ(applied.password, u"s3cret");
  EXPECT_EQ(applied.customProperties, (std::vector<std::pair<std::u16string, std::u16string>>{
                                          {u"serverURL", u"http://127.0.0.1:8080"},
                                          {u"ExitProgramProgram", u"INVEXIT"},
                                          {u"ExitProgramLibrary", u"QUORLIB"},
                                          {u"ExitProgramDelimiter", u","}}));
  std::vector<MemoryLink> links = before.links;
  links.push_back({u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"});
  links.push_back({u"First Page Original File Name", KFX_REL_VARIABLE, u"OriginalFileName"});
  links.push_back({u"OriginalFileNameExt", KFX_REL_BATCHFIELD, u"OriginalFileNameExt"});
  EXPECT_EQ(applied.links, links);
}

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp go round the pages; the list
// follows. Then each way of closing without OK.
TEST_F(SetupSheetUi, KeysSwitchPagesAndEveryCloseButOkWritesNothing) {
  struct Close {
    const char* how;
    std::function<void(HWND)> close;
  };
  const Close closes[] = {
      {"Escape", [](HWND sheet) {
         (void)SetForegroundWindow(sheet);
         pressKey(VK_ESCAPE);
       }},
      {"Cancel", [](HWND sheet) { click(GetDlgItem(sheet, IDCANCEL)); }},
      {"close box", [](HWND sheet) { (void)PostMessageW(sheet, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  bool firstRun = true;
  for (const Close& c : closes) {
    recorder->calls.clear();
    runSheet([&](HWND sheet) {
      HWND page = GetParent(visibleControl(sheet, id::instanceName));
      setWindowText(GetDlgItem(page, id::instanceName), L"changed");
      if (firstRun) {
        (void)SetForegroundWindow(sheet);
        EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == sheet; }));
        struct Step {
          WORD key;
          bool shift;
          LRESULT page;
        };
        for (const Step& step : {Step{VK_TAB, false, 1}, Step{VK_TAB, true, 0}, Step{VK_NEXT, false, 1},
                                 Step{VK_NEXT, false, 0}, Step{VK_PRIOR, false, 1}, Step{VK_TAB, false, 0}}) {
          pressKey(step.key, true, step.shift);
          EXPECT_TRUE(waitUntil([&] { return shownPageIndex(sheet) == step.page; }, 3s)) << step.key;
          EXPECT_EQ(mappingPageShown(sheet), step.page == 1);
        }
        firstRun = false;
      }
      c.close(sheet);
    });
    EXPECT_EQ(host.applyCount(), 0) << c.how;
    EXPECT_EQ(host.record(), before) << c.how;
    EXPECT_EQ(recorder->calls, (std::vector<std::string>{"Links", "CustomProperties", "CustomProperties",
                                                         "CustomProperties", "CustomProperties"}))
        << c.how;
  }
}

// The grid's rows by keyboard, each item's menu by F4 and keys posted to the menu, a
// constant typed in place; on OK the links are what was chosen, in parameter order.
TEST_F(SetupSheetUi, TheDataMappingPageMapsThroughEachItemsMenu) {
  auto menus = [] {
    std::vector<HWND> shown;
    for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
         menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
      if (IsWindowVisible(menu)) shown.push_back(menu);
    }
    return shown;
  };
  auto key = [](HWND window, UINT virtualKey) {
    (void)PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    std::this_thread::sleep_for(60ms);
  };
  // F4 on the selected item, then the menu walked by keys; Enter chooses.
  auto choose = [&](HWND grid, std::initializer_list<UINT> menuKeys) {
    key(grid, VK_F4);
    ASSERT_TRUE(waitUntil([&] { return menus().size() == 1; })) << "no menu";
    HWND menu = menus().front();
    for (UINT each : menuKeys) key(menu, each);
    ASSERT_TRUE(waitUntil([&] { return menus().empty(); }));
  };
  KfxReturnValue result = runSheet([&](HWND sheet) {
    choosePage(sheet, 1);
    ASSERT_TRUE(waitUntil([&] { return mappingPageShown(sheet); }));
    HWND grid = visibleControl(sheet, propertyGridControlId);
    ASSERT_NE(grid, nullptr);
    (void)SetForegroundWindow(sheet);
    key(grid, VK_HOME);  // the group row
    key(grid, VK_DOWN);  // Parameter 1 stays on its index field
    key(grid, VK_DOWN);  // Parameter 2: the second host value
    choose(grid, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    key(grid, VK_DOWN);  // Parameter 3: from its constant to nothing
    choose(grid, {VK_DOWN, VK_DOWN, VK_RETURN});
    key(grid, VK_DOWN);  // Parameter 4: a constant, typed into the value cell
    choose(grid, {VK_DOWN, VK_RETURN});
    HWND edit = GetDlgItem(grid, propertyGridEditId);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(edit) != FALSE; }));
    for (wchar_t each : std::wstring(L"AP-2024")) (void)PostMessageW(edit, WM_CHAR, each, 1);
    key(edit, VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(edit); }));
    key(grid, VK_DOWN);  // Parameter 5: the second index field
    choose(grid, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    key(grid, VK_UP);
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(saveScreenshot(sheet, L"setup-data-mapping.png"));

    // The open menu of Parameter 6 with its "Document Index Fields" submenu, then closed.
    key(grid, VK_DOWN);
    key(grid, VK_DOWN);
    key(grid, VK_F4);
    ASSERT_TRUE(waitUntil([&] { return menus().size() == 1; }));
    for (UINT each : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) key(menus().front(), each);
    EXPECT_TRUE(waitUntil([&] { return menus().size() == 2; }));
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(saveScreenshot(sheet, L"setup-choice-menu.png"));
    for (HWND menu : menus()) (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    std::this_thread::sleep_for(100ms);
    for (HWND menu : menus()) (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(waitUntil([&] { return menus().empty(); }));
    click(GetDlgItem(sheet, IDOK));
  });
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  ASSERT_TRUE(host.appliedRecord());
  EXPECT_EQ(host.applyCount(), 1);
  EXPECT_EQ(host.appliedRecord()->links,
            (std::vector<MemoryLink>{{u"InvoiceNumber", KFX_REL_INDEXFIELD, u"PARM1"},
                                     {u"Scan Date", KFX_REL_VARIABLE, u"PARM2"},
                                     {u"AP-2024", KFX_REL_TEXTCONSTANT, u"PARM4"},
                                     {u"Vendor", KFX_REL_INDEXFIELD, u"PARM5"},
                                     {u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"},
                                     {u"First Page Original File Name", KFX_REL_VARIABLE, u"OriginalFileName"},
                                     {u"OriginalFileNameExt", KFX_REL_BATCHFIELD, u"OriginalFileNameExt"}}));
}

// The box takes one character; a longer text that got in anyway is refused when the page
// is left, with the focus back on the box and its text selected.
TEST_F(SetupSheetUi, TheDelimiterIsOneCharacter) {
  runSheet([&](HWND sheet) {
    HWND page = GetParent(visibleControl(sheet, id::instanceName));
    HWND delimiter = GetDlgItem(page, id::delimiter);
    setWindowText(delimiter, L"");
    typeCharacters(delimiter, L"#,");
    EXPECT_EQ(windowText(delimiter), L"#");

    setWindowText(delimiter, L"||");  // pasted past the limit
    choosePage(sheet, 1);
    HWND message = waitForOwnedWindow(sheet, L"#32770");
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(windowText(message), sheetCaption);
    EXPECT_EQ(windowText(GetDlgItem(message, 0xFFFF)), L"Enter no more than 1 characters.");
    click(GetDlgItem(message, IDOK));
    EXPECT_TRUE(waitForClose(message));
    EXPECT_TRUE(waitUntil([&] { return focusOf(sheet) == delimiter; }));
    DWORD start = 0, end = 0;
    (void)SendMessageW(delimiter, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
    EXPECT_EQ(shownPageIndex(sheet), 0);
    EXPECT_FALSE(mappingPageShown(sheet));

    setWindowText(delimiter, L"#");
    click(GetDlgItem(sheet, IDOK));
  });
  ASSERT_TRUE(host.appliedRecord());
  EXPECT_EQ(host.appliedRecord()->customProperties.back().second, u"#");
}

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
  DWORD process = 0;
  (void)GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(count);
  (void)EnumChildWindows(window, &countWindow, count);
  return TRUE;
}

// The process's windows, hidden ones and children included.
int windowCount() {
  int count = 0;
  (void)EnumWindows(&countWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

// A sheet opened and closed 50 times gives back every window, font, brush and menu. Wine's
// GetGuiResources counts nothing (it answers 0); the windows are counted there all the same.
TEST_F(SetupSheetUi, FiftySheetsLeaveTheObjectCountsWhereTheyWere) {
  auto counts = [] {
    return std::tuple{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                      GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windowCount()};
  };
  // The first sheet loads what stays for the process (the dialog class's font, the list box's
  // and buttons' classes).
  runSheet([](HWND sheet) { click(GetDlgItem(sheet, IDCANCEL)); });
  auto start = counts();
  for (int i = 0; i < 50; ++i) {
    runSheet([](HWND sheet) {
      choosePage(sheet, 1);
      EXPECT_TRUE(waitUntil([&] { return mappingPageShown(sheet); }));
      click(GetDlgItem(sheet, IDCANCEL));
    });
  }
  EXPECT_EQ(counts(), start);
}

// A table with a required row, a row without an item and one in "Other Details", on the
// sheet itself with its pages made by the test.
class RequiredRowSheet : public testing::Test {
 protected:
  void SetUp() override {
    table.fillDefaults();
    table.row(3).required = 1;
    table.row(5).placement = rowPlacement::hidden;
    table.row(19).placement = 2;
    general.setTable(&table);
    mapping.setTable(&table);
  }

  bool run(const std::function<void(HWND)>& drive) {
    std::thread driver([&] {
      HWND sheet = waitForWindow(sheetCaption, L"#32770");
      if (!sheet) {
        ADD_FAILURE() << "no setup sheet appeared";
        return;
      }
      drive(sheet);
      if (!waitForClose(sheet)) (void)PostMessageW(sheet, WM_CLOSE, 0, 0);
    });
    SetupSheetLayout layout;
    layout.caption = loadMessage(setupSheetCaption);
    Win32SetupSheet sheet(ownModule());
    bool ok = sheet.runModal(layout, SetupSheetPages{general, mapping});
    driver.join();
    return ok;
  }

  MemoryHost host;
  std::shared_ptr<IReleaseSetupData> data = host.setupData();  // the table keeps a reference to it
  CParameterTable table{data};
  test_support::FixedVersionSource version;
  CPropertyPageSetupGeneral general{version};
  std::deque<RecordingQuestionDialog::Record> questions;
  std::vector<std::int32_t> answers;
  CPropertyPageSetupMapping mapping{[this](std::u16string_view name) {
    return askRequiredFields(
        [this]() -> std::unique_ptr<IQuestionDialog> {
          questions.emplace_back();
          std::int32_t answer = answers.at(questions.size() - 1);
          return std::make_unique<RecordingQuestionDialog>(questions.back(), answer);
        },
        name);
  }};
};

TEST_F(RequiredRowSheet, BothGroupsNoPlacementOneItemAndTheQuestionWhenLeaving) {
  answers = {requiredQuestion::mapButton, requiredQuestion::mapButton, requiredQuestion::ignoreButton};
  bool ok = run([&](HWND sheet) {
    choosePage(sheet, 1);
    ASSERT_TRUE(waitUntil([&] { return mappingPageShown(sheet); }));
    // Leaving by the list: "Map Required Fields" keeps the page, with Parameter 4 selected.
    choosePage(sheet, 0);
    EXPECT_TRUE(waitUntil([&] { return questions.size() == 1 && shownPageIndex(sheet) == 1; }));
    EXPECT_TRUE(mappingPageShown(sheet));
    // OK keeps the sheet open the same way.
    click(GetDlgItem(sheet, IDOK));
    EXPECT_TRUE(waitUntil([&] { return questions.size() == 2; }));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(IsWindowVisible(sheet));
    // "Ignore Requirement" lets the page go.
    (void)SetForegroundWindow(sheet);
    pressKey(VK_TAB, true);
    EXPECT_TRUE(waitUntil([&] { return shownPageIndex(sheet) == 0 && !mappingPageShown(sheet); }));
    click(GetDlgItem(sheet, IDCANCEL));
  });
  EXPECT_FALSE(ok);
  ASSERT_EQ(questions.size(), 3u);
  EXPECT_EQ(questions[0].buttons.at(0).text,
            u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Parameter 4'.");
  const PropertyGrid& grid = mapping.grid();
  ASSERT_EQ(grid.groups().size(), 2u);
  EXPECT_EQ(grid.groups()[0].name, u"Exit Program Parameters");
  EXPECT_EQ(grid.groups()[0].items.size(), 18u);
  EXPECT_EQ(grid.groups()[1].name, u"Other Details");
  ASSERT_EQ(grid.groups()[1].items.size(), 1u);
  EXPECT_EQ(grid.groups()[1].items[0]->name(), u"Parameter 20");
  EXPECT_EQ(grid.findItem(5), nullptr);
  ASSERT_NE(grid.selected(), nullptr);
  EXPECT_EQ(grid.selected()->name(), u"Parameter 4");
}

}  // namespace
}  // namespace quorlex
