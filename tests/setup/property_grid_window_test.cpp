// The property grid on screen under Wine, driven from a second thread as a person would:
// keys posted to the grid, its edit box and the choice menu; the parameter table checked
// afterwards. A dialog in the Data Mapping page's place hosts it and does what the page does.
#include "setup/property_grid_window_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "common/activation_context_win32.h"
#include "common/com_apartment.h"
#include "common/own_module_win32.h"
#include "common/unique_handle.h"
#include "common/unique_hwnd.h"
#include "setup/mapping_page.h"
#include "setup/parameter_table.h"
#include "setup_fakes.h"
#include "tests/support/gui_objects_win32.h"
#include "tests/support/screen_capture_win32.h"

namespace quorlex {
namespace {

using test_support::rgb;

constexpr UINT runOnPageMessage = WM_APP + 1;
constexpr int gridId = 1000;
constexpr UINT menuGetHandle = 0x01E1;  // MN_GETHMENU

// The Data Mapping template's geometry: 350 by 242 dialog units in "MS Shell Dlg" 8 point,
// the frame 11055 at 7, 7, 336 wide, 228 high.
// withNextControl: a push button below the frame, for the focus to go to with Tab.
constexpr WORD nextControlId = 2001;
std::vector<WORD> pageTemplate(bool withNextControl = false) {
  std::vector<WORD> words;
  auto put32 = [&](DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
  };
  auto putText = [&](std::u16string_view text) {
    for (char16_t each : text) words.push_back(each);
    words.push_back(0);
  };
  put32(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
  put32(0);
  WORD items = withNextControl ? 2 : 1;
  WORD height = withNextControl ? 262 : 242;
  words.insert(words.end(), {items, 10, 10, 350, height, 0, 0});  // no menu, default class
  putText(u"Data Mapping");
  words.push_back(8);
  putText(u"MS Shell Dlg");
  if (words.size() % 2) words.push_back(0);  // items start on a 4-byte boundary
  put32(WS_CHILD | WS_VISIBLE | SS_BLACKFRAME);
  put32(0);
  words.insert(words.end(), {7, 7, 336, 228, mappingControl::gridFrame, 0xFFFF, 0x0082});  // static
  putText(u"");
  words.push_back(0);
  if (!withNextControl) return words;
  if (words.size() % 2) words.push_back(0);
  put32(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
  put32(0);
  words.insert(words.end(), {7, 242, 50, 14, nextControlId, 0xFFFF, 0x0080});  // button
  putText(u"Next");
  words.push_back(0);
  return words;
}

// The host and table of one sheet, with index fields, host values and stored links.
struct PageStandIn : test_support::HostWithTable {
  PageStandIn() {
    host.record().indexFields = {u"INV", u"Customer", u"Order Date"};
    host.record().batchVariableNames = {u"Batch Name", u"Document ID"};
    host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"},
                           {u"INV", KFX_REL_INDEXFIELD, u"PARM6"},
                           {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"}};
    table.loadLinks();
    table.loadValueNames();
    table.row(1).required = 1;
    page.setTable(&table);
  }

  CPropertyPageSetupMapping page;
  HWND dialog = nullptr;
  HWND grid = nullptr;
};

// What the page does in its initialisation: the grid in the frame's place, built with the
// page's redrawing suspended, laid out once at the end.
void initialisePage(PageStandIn& stand) {
  HWND frame = GetDlgItem(stand.dialog, mappingControl::gridFrame);
  RECT rect{};
  (void)GetClientRect(frame, &rect);
  (void)MapWindowPoints(frame, stand.dialog, reinterpret_cast<POINT*>(&rect), 2);
  rect.right -= 1;
  rect.bottom -= 1;
  stand.grid = createPropertyGridWindow(stand.dialog, rect, gridId, stand.page.grid(), ownModule());
  (void)SendMessageW(stand.dialog, WM_SETREDRAW, FALSE, 0);
  stand.page.onInitDialog();
  (void)SendMessageW(stand.dialog, WM_SETREDRAW, TRUE, 0);
  layoutPropertyGrid(stand.grid);
  (void)RedrawWindow(stand.dialog, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

INT_PTR CALLBACK pageProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* stand = reinterpret_cast<PageStandIn*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      (void)SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      stand = reinterpret_cast<PageStandIn*>(lParam);
      stand->dialog = dialog;
      initialisePage(*stand);
      return TRUE;
    case WM_COMMAND:
      // A menu's command: the page makes the choice, then the grid shows it.
      if (stand && lParam == 0 && HIWORD(wParam) == 0 && stand->page.onCommand(LOWORD(wParam))) {
        refreshPropertyGrid(stand->grid);
        return TRUE;
      }
      return FALSE;
    case runOnPageMessage:
      (*reinterpret_cast<std::function<void()>*>(lParam))();
      return TRUE;
    default: return FALSE;
  }
}

unique_hwnd showPage(PageStandIn& stand, bool withNextControl = false) {
  std::vector<WORD> words = pageTemplate(withNextControl);
  return unique_hwnd(CreateDialogIndirectParamW(ownModule(), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), nullptr,
                                                pageProcedure, reinterpret_cast<LPARAM>(&stand)));
}

// The second thread's hands and eyes.
class Driver {
 public:
  explicit Driver(PageStandIn& stand) : stand_(stand) {}

  HWND grid() const { return stand_.grid; }
  HWND edit() const { return GetDlgItem(stand_.grid, propertyGridEditId); }

  // Runs on the page's thread once everything posted before has been handled.
  template <class Call>
  auto onPage(Call call) -> decltype(call()) {
    using Result = decltype(call());
    unique_handle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE done = event.get();
    if constexpr (std::is_void_v<Result>) {
      std::function<void()> job = [&] {
        call();
        (void)SetEvent(done);
      };
      (void)PostMessageW(stand_.dialog, runOnPageMessage, 0, reinterpret_cast<LPARAM>(&job));
      (void)WaitForSingleObject(done, INFINITE);  // the job lives on this stack
    } else {
      Result result{};
      std::function<void()> job = [&] {
        result = call();
        (void)SetEvent(done);
      };
      (void)PostMessageW(stand_.dialog, runOnPageMessage, 0, reinterpret_cast<LPARAM>(&job));
      (void)WaitForSingleObject(done, INFINITE);  // the job lives on this stack
      return result;
    }
  }
  void settle() {
    onPage([] {});
  }
  bool waitFor(const std::function<bool()>& condition) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (onPage([&] { return condition(); })) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }

  void key(HWND window, UINT virtualKey, bool alt = false) {
    // Bit 29 says Alt is down, as the system sets it for a key pressed with Alt.
    (void)PostMessageW(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, alt ? (1 | 1 << 29) : 1);
    settle();
  }
  void keys(HWND window, std::initializer_list<UINT> virtualKeys) {
    for (UINT each : virtualKeys) key(window, each);
  }
  void type(HWND window, std::u16string_view text) {
    for (char16_t each : text) (void)PostMessageW(window, WM_CHAR, each, 1);
    settle();
  }

  // The choice menu's windows, the first the pop-up, then its open submenu.
  std::vector<HWND> menus() const {
    std::vector<HWND> shown;
    for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
         menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
      if (IsWindowVisible(menu)) shown.push_back(menu);
    }
    return shown;
  }
  HWND waitForMenus(std::size_t count) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      std::vector<HWND> shown = menus();
      if (shown.size() == count) return shown.front();
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return nullptr;
  }
  bool waitForNoMenu() {
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (menus().empty()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
  }
  // Opens the selected item's menu with F4 and walks it with keys; Enter chooses.
  void choose(std::initializer_list<UINT> menuKeys) {
    key(grid(), VK_F4);
    HWND menu = waitForMenus(1);
    ASSERT_NE(menu, nullptr) << "no menu";
    for (UINT each : menuKeys) {
      (void)PostMessageW(menu, WM_KEYDOWN, each, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(waitForNoMenu());
    settle();
  }

  ParameterRow row(std::int32_t index) {
    return onPage([&] { return stand_.table.row(index); });
  }
  std::u16string selectedName() {
    return onPage([&] {
      CMappedProperty* item = stand_.page.grid().selected();
      return item ? item->name() : std::u16string(u"(none)");
    });
  }
  bool editVisible() const { return IsWindowVisible(edit()); }

 private:
  PageStandIn& stand_;
};

class PropertyGridWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(registerPropertyGridClass(ownModule())); }

  // Shows the page, runs the script on a second thread while this one pumps messages,
  // then closes the page.
  void run(const std::function<void(Driver&)>& script, bool withNextControl = false) {
    unique_hwnd page = showPage(stand, withNextControl);
    HWND dialog = page.get();
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(stand.grid, nullptr);
    (void)SetForegroundWindow(dialog);
    (void)SetFocus(stand.grid);
    std::atomic<bool> finished = false;
    std::thread driver([&] {
      ComApartment apartment;  // for the screenshots' image encoder
      Driver hands(stand);
      hands.settle();
      script(hands);
      finished = true;
      (void)PostMessageW(dialog, WM_NULL, 0, 0);
    });
    MSG message;
    while (!finished && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(dialog, &message)) continue;
      (void)TranslateMessage(&message);
      (void)DispatchMessageW(&message);
    }
    driver.join();
  }

  std::optional<test_support::CapturedImage> captureGrid() {
    RECT area{};
    (void)GetWindowRect(stand.grid, &area);
    return test_support::captureScreen(area);
  }
  // The item's name and value cells in the captured grid (which adds the grid's border).
  struct Cells {
    RECT name;
    RECT value;
  };
  std::optional<Cells> cellsOf(Driver& hands, std::int32_t rowIndex) {
    return hands.onPage([&]() -> std::optional<Cells> {
      RECT name{}, value{}, window{}, client{};
      CMappedProperty* item = stand.page.grid().findItem(rowIndex);
      if (!item || !propertyGridItemCells(stand.grid, *item, name, value)) return std::nullopt;
      (void)GetWindowRect(stand.grid, &window);
      (void)GetClientRect(stand.grid, &client);
      (void)MapWindowPoints(stand.grid, nullptr, reinterpret_cast<POINT*>(&client), 2);
      int dx = client.left - window.left;
      int dy = client.top - window.top;
      return Cells{{name.left + dx, name.top + dy, name.right + dx, name.bottom + dy},
                   {value.left + dx, value.top + dy, value.right + dx, value.bottom + dy}};
    });
  }

  ComponentActivationContext context{ownModule()};
  PageStandIn stand;
};

std::u16string menuText(HMENU menu, UINT position) {
  wchar_t text[128]{};
  int length = GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

bool menuChecked(HMENU menu, UINT position) { return GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED; }

TEST_F(PropertyGridWindowTest, KeyboardSelectsRowsAndTheMenuMapsThem) {
  run([&](Driver& hands) {
    hands.key(hands.grid(), VK_HOME);
    EXPECT_EQ(hands.selectedName(), u"(none)");  // the group row
    hands.key(hands.grid(), VK_DOWN);
    EXPECT_EQ(hands.selectedName(), u"Parameter 1");

    // The menu of an unmapped row: "No Mapping" ticked, then the two submenus.
    hands.key(hands.grid(), VK_F4);
    HWND shown = hands.waitForMenus(1);
    ASSERT_NE(shown, nullptr);
    HMENU popup = reinterpret_cast<HMENU>(SendMessageW(shown, menuGetHandle, 0, 0));
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(menuText(popup, 0), u"Text Constant");
    EXPECT_FALSE(menuChecked(popup, 0));
    EXPECT_EQ(menuText(popup, 1), u"No Mapping");
    EXPECT_TRUE(menuChecked(popup, 1));
    EXPECT_EQ(menuText(popup, 2), u"Document Index Fields");
    HMENU fields = GetSubMenu(popup, 2);
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(GetMenuItemCount(fields), 3);
    EXPECT_EQ(menuText(fields, 1), u"Customer");
    EXPECT_EQ(GetMenuItemID(fields, 1), 28416u + 2);
    EXPECT_EQ(menuText(popup, 3), u"Kofax Capture Values");
    // Into "Document Index Fields", second entry: Customer.
    for (UINT each : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}) {
      (void)PostMessageW(shown, WM_KEYDOWN, each, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(hands.waitForNoMenu());
    ASSERT_TRUE(hands.waitFor([&] { return stand.table.row(0).source == u"Customer"; }));
    EXPECT_EQ(hands.row(0).sourceType, KFX_REL_INDEXFIELD);

    // Alt+Down on Parameter 2: "Kofax Capture Values", first entry.
    hands.key(hands.grid(), VK_DOWN);
    EXPECT_EQ(hands.selectedName(), u"Parameter 2");
    hands.key(hands.grid(), VK_DOWN, true);
    HWND second = hands.waitForMenus(1);
    ASSERT_NE(second, nullptr);
    for (UINT each : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}) {
      (void)PostMessageW(second, WM_KEYDOWN, each, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(hands.waitForNoMenu());
    ASSERT_TRUE(hands.waitFor([&] { return stand.table.row(1).source == u"Batch Name"; }));
    EXPECT_EQ(hands.row(1).sourceType, KFX_REL_VARIABLE);

    // "No Mapping" on Parameter 3, which was stored as INV.
    hands.key(hands.grid(), VK_DOWN);
    hands.choose({VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(hands.waitFor([&] { return stand.table.row(2).sourceType == KFX_REL_UNDEFINED_LINK; }));
    EXPECT_EQ(hands.row(2).source, u"");

    // "Text Constant" on Parameter 4 opens the value for typing; Enter keeps the text.
    hands.key(hands.grid(), VK_DOWN);
    hands.choose({VK_DOWN, VK_RETURN});
    ASSERT_TRUE(hands.waitFor([&] { return IsWindowVisible(hands.edit()) != FALSE; }));
    hands.type(hands.edit(), u"ACME");
    hands.key(hands.edit(), VK_RETURN);
    EXPECT_FALSE(hands.editVisible());
    ParameterRow constant = hands.row(3);
    EXPECT_EQ(constant.source, u"ACME");
    EXPECT_EQ(constant.sourceType, KFX_REL_TEXTCONSTANT);

    // F2 types over it again; Escape drops what was typed.
    hands.key(hands.grid(), VK_F2);
    ASSERT_TRUE(hands.editVisible());
    (void)SendMessageW(hands.edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"dropped"));
    hands.key(hands.edit(), VK_ESCAPE);
    EXPECT_FALSE(hands.editVisible());
    EXPECT_EQ(hands.row(3).source, u"ACME");

    // Enter, typed text, then moving on with Down keeps it too.
    hands.key(hands.grid(), VK_RETURN);
    ASSERT_TRUE(hands.editVisible());
    (void)SendMessageW(hands.edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"ACME Corp"));
    hands.key(hands.edit(), VK_DOWN);
    EXPECT_FALSE(hands.editVisible());
    EXPECT_EQ(hands.row(3).source, u"ACME Corp");
    EXPECT_EQ(hands.selectedName(), u"Parameter 5");

    // Everything else is as it was loaded.
    EXPECT_EQ(hands.row(5).source, u"INV");
    EXPECT_EQ(hands.row(19).source, u"ABC");
  });
}

TEST_F(PropertyGridWindowTest, GroupsFoldAndUnfoldFromTheKeyboard) {
  stand.table.row(19).placement = 2;
  run([&](Driver& hands) {
    auto expanded = [&](int group) { return hands.onPage([&] { return stand.page.grid().groups()[group].expanded; }); };
    hands.key(hands.grid(), VK_HOME);
    hands.key(hands.grid(), VK_LEFT);
    EXPECT_FALSE(expanded(0));
    hands.key(hands.grid(), VK_DOWN);
    hands.key(hands.grid(), VK_DOWN);
    EXPECT_EQ(hands.selectedName(), u"Parameter 20");
    hands.key(hands.grid(), VK_HOME);
    hands.key(hands.grid(), VK_RIGHT);
    EXPECT_TRUE(expanded(0));
    (void)PostMessageW(hands.grid(), WM_CHAR, L'-', 1);
    hands.settle();
    EXPECT_FALSE(expanded(0));
    (void)PostMessageW(hands.grid(), WM_CHAR, L'+', 1);
    hands.settle();
    EXPECT_TRUE(expanded(0));
    hands.key(hands.grid(), VK_END);
    EXPECT_EQ(hands.selectedName(), u"Parameter 20");
    hands.key(hands.grid(), VK_PRIOR);
    hands.key(hands.grid(), VK_PRIOR);
    hands.key(hands.grid(), VK_NEXT);
    EXPECT_NE(hands.selectedName(), u"(none)");
  });
}

TEST_F(PropertyGridWindowTest, TheMouseEditsOpensDragsAndScrolls) {
  run([&](Driver& hands) {
    auto cells = [&](std::int32_t rowIndex) {
      return hands.onPage([&]() -> std::optional<std::pair<RECT, RECT>> {
        RECT name{}, value{};
        if (!propertyGridItemCells(stand.grid, *stand.page.grid().findItem(rowIndex), name, value)) return std::nullopt;
        return std::pair{name, value};
      });
    };
    auto post = [&](HWND window, UINT message, WPARAM wParam, int x, int y) {
      (void)PostMessageW(window, message, wParam, MAKELPARAM(x, y));
      hands.settle();
    };
    HWND header = GetDlgItem(hands.grid(), propertyGridHeaderId);
    auto wheel = [&](int notches) {
      (void)PostMessageW(hands.grid(), WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(notches * WHEEL_DELTA)) << 16, 0);
      hands.settle();
    };

    // A click into the value of Parameter 4 selects it; its button opens the menu.
    auto fourth = cells(3);
    ASSERT_TRUE(fourth);
    post(hands.grid(), WM_LBUTTONDOWN, MK_LBUTTON, fourth->second.left + 10, fourth->second.top + 3);
    post(hands.grid(), WM_LBUTTONUP, 0, fourth->second.left + 10, fourth->second.top + 3);
    EXPECT_EQ(hands.selectedName(), u"Parameter 4");
    EXPECT_FALSE(hands.editVisible());
    fourth = cells(3);
    (void)PostMessageW(hands.grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fourth->second.right + 4, fourth->second.top + 3));
    HWND menu = hands.waitForMenus(1);
    ASSERT_NE(menu, nullptr);
    (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(hands.waitForNoMenu());
    post(hands.grid(), WM_LBUTTONUP, 0, 0, 0);

    // The boundary, dragged in the header, stops short of either edge.
    int boundary = fourth->first.right;
    post(header, WM_LBUTTONDOWN, MK_LBUTTON, boundary, 5);
    post(header, WM_MOUSEMOVE, MK_LBUTTON, boundary + 60, 5);
    post(header, WM_LBUTTONUP, 0, boundary + 60, 5);
    EXPECT_EQ(cells(3)->first.right, boundary + 60);
    EXPECT_EQ(cells(3)->second.left, boundary + 61);
    post(header, WM_LBUTTONDOWN, MK_LBUTTON, boundary + 60, 5);
    post(header, WM_MOUSEMOVE, MK_LBUTTON, 2, 5);
    post(header, WM_LBUTTONUP, 0, 2, 5);
    int least = cells(3)->first.right;
    EXPECT_GT(least, cells(3)->first.left + 20);
    // And dragged between the rows' cells.
    post(hands.grid(), WM_LBUTTONDOWN, MK_LBUTTON, least, fourth->first.top + 3);
    post(hands.grid(), WM_MOUSEMOVE, MK_LBUTTON, 2000, fourth->first.top + 3);
    post(hands.grid(), WM_LBUTTONUP, 0, 2000, fourth->first.top + 3);
    EXPECT_GT(cells(3)->first.right, least + 200);
    EXPECT_LT(cells(3)->second.right - cells(3)->second.left, 60);
    post(hands.grid(), WM_LBUTTONDOWN, MK_LBUTTON, cells(3)->first.right, fourth->first.top + 3);
    post(hands.grid(), WM_MOUSEMOVE, MK_LBUTTON, boundary, fourth->first.top + 3);
    post(hands.grid(), WM_LBUTTONUP, 0, boundary, fourth->first.top + 3);
    EXPECT_EQ(cells(3)->first.right, boundary);

    // A turn of the wheel scrolls by the system's lines per turn (the 21 rows scroll by 4 at
    // most); Parameter 20's value, clicked, opens for typing.
    UINT lines = 3;
    (void)SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ASSERT_LE(lines, 4u);
    std::int32_t firstShown = static_cast<std::int32_t>(lines) - 1;  // the group's row is above Parameter 1
    EXPECT_TRUE(cells(0));
    wheel(-1);
    EXPECT_FALSE(cells(firstShown - 1));
    EXPECT_TRUE(cells(firstShown));
    wheel(-5);
    auto last = cells(19);
    ASSERT_TRUE(last);
    post(hands.grid(), WM_LBUTTONDOWN, MK_LBUTTON, last->second.left + 10, last->second.top + 3);
    post(hands.grid(), WM_LBUTTONUP, 0, last->second.left + 10, last->second.top + 3);
    EXPECT_EQ(hands.selectedName(), u"Parameter 20");
    ASSERT_TRUE(hands.editVisible());
    wchar_t typed[32]{};
    (void)GetWindowTextW(hands.edit(), typed, 32);
    EXPECT_EQ(std::wstring(typed), L"ABC");
    hands.type(hands.edit(), u"DEF");
    // Scrolling away keeps what was typed.
    wheel(10);
    EXPECT_FALSE(hands.editVisible());
    EXPECT_EQ(hands.row(19).source, u"DEF");
    auto first = cells(0);
    ASSERT_TRUE(first);
    // A double click on the group's row folds it.
    post(hands.grid(), WM_LBUTTONDBLCLK, MK_LBUTTON, first->first.left + 30, first->first.top - 5);
    EXPECT_FALSE(hands.onPage([&] { return stand.page.grid().groups()[0].expanded; }));
  });
}

TEST_F(PropertyGridWindowTest, TabLeavesTheGridAndKeepsWhatWasTyped) {
  run(
      [&](Driver& hands) {
        auto focus = [&] { return hands.onPage([] { return GetFocus(); }); };
        HWND next = GetDlgItem(GetParent(hands.grid()), nextControlId);
        EXPECT_EQ(focus(), hands.grid());
        hands.key(hands.grid(), VK_TAB);
        EXPECT_EQ(focus(), next);
        hands.key(next, VK_TAB);
        EXPECT_EQ(focus(), hands.grid());

        hands.key(hands.grid(), VK_END);
        hands.key(hands.grid(), VK_RETURN);
        ASSERT_TRUE(hands.editVisible());
        EXPECT_EQ(focus(), hands.edit());
        hands.type(hands.edit(), u"XYZ");
        hands.key(hands.edit(), VK_TAB);
        EXPECT_EQ(focus(), next);
        EXPECT_FALSE(hands.editVisible());
        EXPECT_EQ(hands.row(19).source, u"XYZ");
      },
      true);
}

// Ink of the window-text colour (or near it: the text may be smoothed) in a rectangle.
int inkIn(const test_support::CapturedImage& image, const RECT& rect, std::uint32_t colour, int tolerance) {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      std::uint32_t pixel = image.at(x, y);
      int red = static_cast<int>(pixel >> 16 & 0xFF) - static_cast<int>(colour >> 16 & 0xFF);
      int green = static_cast<int>(pixel >> 8 & 0xFF) - static_cast<int>(colour >> 8 & 0xFF);
      int blue = static_cast<int>(pixel & 0xFF) - static_cast<int>(colour & 0xFF);
      count += std::abs(red) <= tolerance && std::abs(green) <= tolerance && std::abs(blue) <= tolerance;
    }
  }
  return count;
}

TEST_F(PropertyGridWindowTest, RequiredNamesAreRedChangedValuesBoldAndTheScreenshotsReadable) {
  run([&](Driver& hands) {
    // Parameter 1 to INV (the first index field), as Parameter 6 was stored; Parameter 2 to
    // a host value; Parameter 4 to a constant; Parameter 3 from INV to nothing.
    hands.keys(hands.grid(), {VK_HOME, VK_DOWN});
    hands.choose({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    hands.key(hands.grid(), VK_DOWN);
    hands.choose({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    hands.key(hands.grid(), VK_DOWN);
    hands.choose({VK_DOWN, VK_DOWN, VK_RETURN});
    hands.key(hands.grid(), VK_DOWN);
    hands.choose({VK_DOWN, VK_RETURN});
    ASSERT_TRUE(hands.waitFor([&] { return IsWindowVisible(hands.edit()) != FALSE; }));
    hands.type(hands.edit(), u"ACME");
    hands.key(hands.edit(), VK_RETURN);
    EXPECT_EQ(hands.row(0).source, u"INV");
    EXPECT_EQ(hands.row(1).source, u"Document ID");
    EXPECT_EQ(hands.row(2).sourceType, KFX_REL_UNDEFINED_LINK);
    EXPECT_EQ(hands.row(3).source, u"ACME");
    // The description of Parameter 5 below, and Parameter 2's name out of the selection.
    hands.key(hands.grid(), VK_DOWN);
    hands.onPage([&] { (void)UpdateWindow(stand.dialog); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));

    std::optional<test_support::CapturedImage> grid = captureGrid();
    ASSERT_TRUE(grid);
    std::optional<Cells> required = cellsOf(hands, 1);
    std::optional<Cells> plain = cellsOf(hands, 6);
    ASSERT_TRUE(required && plain);
    EXPECT_GT(inkIn(*grid, required->name, rgb(191, 0, 0), 0), 10) << "Parameter 2's name is not in RGB(191, 0, 0)";
    EXPECT_EQ(inkIn(*grid, plain->name, rgb(191, 0, 0), 40), 0);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_GT(inkIn(*grid, plain->name, rgb(GetRValue(text), GetGValue(text), GetBValue(text)), 60), 10);

    // INV changed on Parameter 1 is bold: more ink than the stored INV of Parameter 6.
    std::optional<Cells> changed = cellsOf(hands, 0);
    std::optional<Cells> stored = cellsOf(hands, 5);
    ASSERT_TRUE(changed && stored);
    int boldInk = inkIn(*grid, changed->value, 0, 100);
    int normalInk = inkIn(*grid, stored->value, 0, 100);
    EXPECT_GT(normalInk, 10);
    EXPECT_GT(boldInk, normalInk * 6 / 5) << "bold " << boldInk << ", normal " << normalInk;

    RECT page{};
    (void)GetWindowRect(stand.dialog, &page);
    std::optional<test_support::CapturedImage> shot = test_support::captureScreen(page);
    ASSERT_TRUE(shot);
    EXPECT_TRUE(test_support::savePng(*shot, test_support::screenshotFolder() + L"\\data_mapping_grid.png"));

    // The menu of Parameter 5 with "Document Index Fields" open.
    hands.key(hands.grid(), VK_F4);
    HWND menu = hands.waitForMenus(1);
    ASSERT_NE(menu, nullptr);
    for (UINT each : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) {
      (void)PostMessageW(menu, WM_KEYDOWN, each, 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(hands.waitForMenus(2), nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::optional<test_support::CapturedImage> menuShot = test_support::captureScreen(test_support::windowWithMenus(stand.dialog));
    ASSERT_TRUE(menuShot);
    EXPECT_TRUE(test_support::savePng(*menuShot, test_support::screenshotFolder() + L"\\data_mapping_menu.png"));
    (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    (void)PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(hands.waitForNoMenu());
    hands.settle();
    // Closed without a choice: nothing changed.
    EXPECT_EQ(hands.row(4).sourceType, KFX_REL_UNDEFINED_LINK);
  });
}

TEST_F(PropertyGridWindowTest, FiftyGridsLeaveNoObjectsBehind) {
  auto once = [&] {
    PageStandIn fresh;
    unique_hwnd page = showPage(fresh);
    HWND dialog = page.get();
    ASSERT_NE(fresh.grid, nullptr);
    // Painted, typed in, and the menu shown and closed again (the Escape waits in the queue).
    (void)UpdateWindow(dialog);
    (void)SendMessageW(fresh.grid, WM_KEYDOWN, VK_END, 0);
    (void)SendMessageW(fresh.grid, WM_KEYDOWN, VK_RETURN, 0);
    (void)UpdateWindow(dialog);
    (void)PostMessageW(fresh.grid, WM_KEYDOWN, VK_ESCAPE, 0);
    (void)SendMessageW(fresh.grid, WM_KEYDOWN, VK_F4, 0);
    EXPECT_EQ(fresh.page.activeProperty, fresh.page.grid().findItem(19));
  };
  once();
  test_support::GuiObjectCounts before = test_support::guiObjectCounts();
  EXPECT_GT(before.gdi, 0u);
  EXPECT_GT(before.user, 0u);
  for (int round = 0; round < 50; ++round) once();
  test_support::GuiObjectCounts after = test_support::guiObjectCounts();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

}  // namespace
}  // namespace quorlex
