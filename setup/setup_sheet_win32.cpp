#include "setup/setup_sheet_win32.h"

#include <memory>
#include <optional>
#include <vector>

#include "common/unique_hwnd.h"
#include "resources/string_table.h"
#include "setup/general_page_win32.h"
#include "setup/mapping_page_win32.h"
#include "setup/page_sequence.h"
#include "setup/property_grid_window_win32.h"
#include "setup/sheet_layout.h"

namespace quorlex {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The sheet's own dialog: no controls, the caption, and the pages' font, so that its dialog
// units are theirs.
std::vector<WORD> sheetTemplate(std::u16string_view caption) {
  constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK;
  constexpr DWORD extendedStyle = WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
  std::vector<WORD> words{LOWORD(style), HIWORD(style), LOWORD(extendedStyle), HIWORD(extendedStyle)};
  words.insert(words.end(), {0, 0, 0, 0, 0});  // no items, rectangle set later
  words.insert(words.end(), {0, 0});           // no menu, the dialog class
  words.insert(words.end(), caption.begin(), caption.end());
  words.push_back(0);
  words.push_back(8);  // point size
  for (char16_t unit : std::u16string_view(u"MS Shell Dlg")) words.push_back(unit);
  words.push_back(0);
  return words;
}

PixelRect pixelRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

class SheetWindow {
 public:
  SheetWindow(HMODULE module, const SetupSheetLayout& layout, const SetupSheetPages& pages)
      : module_(module), layout_(layout), pages_(pages) {}
  SheetWindow(const SheetWindow&) = delete;
  SheetWindow& operator=(const SheetWindow&) = delete;

  bool run();

 private:
  enum class Outcome { open, ok, cancel };

  static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool onCommand(WORD id, WORD notification);
  bool create(HWND owner);
  SheetGeometry geometry() const;
  void addControls(const SheetGeometry& layout);
  void centre(HWND owner);
  bool translateKey(const MSG& message);
  void afterSwitch();
  void showShownPage();

  HMODULE module_;
  const SetupSheetLayout& layout_;
  const SetupSheetPages& pages_;
  HWND list_ = nullptr;
  std::vector<std::unique_ptr<PageWindow>> pageWindows_;
  std::optional<PageSequence> sequence_;
  Outcome outcome_ = Outcome::open;
  // Declared last, destroyed first: the page windows and the grid go with the sheet while
  // the pages and the sequence that its procedure reaches are still there.
  unique_hwnd sheet_;
};

SheetGeometry SheetWindow::geometry() const {
  auto pixels = [&](LONG width, LONG height) {
    RECT rect{0, 0, width, height};
    (void)MapDialogRect(sheet_.get(), &rect);
    return rect;
  };
  RECT page = pixels(sheetUnits::pageWidth, sheetUnits::pageHeight);
  RECT margin = pixels(sheetUnits::margin, sheetUnits::margin);
  RECT button = pixels(sheetUnits::buttonWidth, sheetUnits::buttonHeight);
  RECT gap = pixels(sheetUnits::buttonGap, 0);
  return sheetGeometry({page.right, page.bottom, layout_.pageListWidth, margin.right, margin.bottom, button.right,
                        button.bottom, gap.right});
}

void SheetWindow::addControls(const SheetGeometry& layout) {
  HWND sheet = sheet_.get();
  auto font = static_cast<WPARAM>(SendMessageW(sheet, WM_GETFONT, 0, 0));
  auto add = [&](DWORD extendedStyle, const wchar_t* className, const std::u16string& text, DWORD style,
                 const PixelRect& at, int id) {
    HWND control = CreateWindowExW(extendedStyle, className, wide(text), WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                   at.left, at.top, at.width(), at.height(), sheet,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
    (void)SendMessageW(control, WM_SETFONT, font, FALSE);
    return control;
  };
  list_ = add(WS_EX_CLIENTEDGE, L"ListBox", u"", WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
              layout.pageList, 0);
  for (ISetupPage* page : pages_.inOrder()) {
    std::u16string title(page->title());
    (void)SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(title)));
  }
  (void)add(0, L"Button", loadMessage(sheetUnits::okText), BS_DEFPUSHBUTTON, layout.ok, IDOK);
  (void)add(0, L"Button", loadMessage(sheetUnits::cancelText), BS_PUSHBUTTON, layout.cancel, IDCANCEL);
  (void)SendMessageW(sheet, DM_SETDEFID, IDOK, 0);
}

void SheetWindow::centre(HWND owner) {
  HWND sheet = sheet_.get();
  RECT window{};
  (void)GetWindowRect(sheet, &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  (void)GetMonitorInfoW(MonitorFromWindow(owner ? owner : sheet, MONITOR_DEFAULTTOPRIMARY), &monitor);
  std::optional<PixelRect> around;
  if (RECT ownerRect{}; owner && GetWindowRect(owner, &ownerRect)) around = pixelRect(ownerRect);
  PixelPoint at = centredPosition(window.right - window.left, window.bottom - window.top, around,
                                  pixelRect(monitor.rcWork));
  (void)SetWindowPos(sheet, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool SheetWindow::create(HWND owner) {
  std::vector<WORD> words = sheetTemplate(layout_.caption);
  sheet_ = unique_hwnd(CreateDialogIndirectParamW(module_, reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner,
                                                  &SheetWindow::dialogProcedure, reinterpret_cast<LPARAM>(this)));
  if (!sheet_) return false;
  HWND sheet = sheet_.get();
  SheetGeometry layout = geometry();
  RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
  (void)AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(sheet, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(sheet, GWL_EXSTYLE)));
  (void)SetWindowPos(sheet, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  addControls(layout);

  PagePlace place{module_, sheet, list_, {layout.page.left, layout.page.top, layout.page.right, layout.page.bottom}};
  pageWindows_.push_back(std::make_unique<GeneralPageWindow>(pages_.general, place));
  pageWindows_.push_back(std::make_unique<MappingPageWindow>(pages_.mapping, place));
  std::vector<ISetupPage*> inOrder;
  for (const auto& page : pageWindows_) inOrder.push_back(page.get());
  sequence_.emplace(inOrder, layout_.firstPage);
  showShownPage();
  centre(owner);
  return true;
}

void SheetWindow::showShownPage() {
  std::size_t shown = sequence_->shownPage();
  for (std::size_t page = 0; page < pageWindows_.size(); ++page) {
    if (HWND window = pageWindows_[page]->window()) (void)ShowWindow(window, page == shown ? SW_SHOW : SW_HIDE);
  }
  (void)SendMessageW(list_, LB_SETCURSEL, shown, 0);
}

// After a switch, or a refused one: the list box shows the shown page again, and a focus
// left in a page that is now hidden moves to the list.
void SheetWindow::afterSwitch() {
  showShownPage();
  HWND focus = GetFocus();
  if (!focus || !IsWindowVisible(focus)) (void)SetFocus(list_);
}

bool SheetWindow::onCommand(WORD id, WORD notification) {
  if (id == IDOK && notification == BN_CLICKED) {  // the button, or Enter
    if (sequence_->pressOk()) outcome_ = Outcome::ok;
    else showShownPage();
    return true;
  }
  if (id == IDCANCEL) {
    outcome_ = Outcome::cancel;
    return true;
  }
  return false;
}

INT_PTR CALLBACK SheetWindow::dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;
  }
  auto* sheet = reinterpret_cast<SheetWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!sheet || !sheet->sequence_) return FALSE;
  return withoutThrowing([&]() -> INT_PTR {
    switch (message) {
      case WM_COMMAND:
        if (reinterpret_cast<HWND>(lParam) == sheet->list_ && lParam != 0) {
          if (HIWORD(wParam) != LBN_SELCHANGE) return FALSE;
          LRESULT chosen = SendMessageW(sheet->list_, LB_GETCURSEL, 0, 0);
          if (chosen >= 0) (void)sheet->sequence_->show(static_cast<std::size_t>(chosen));
          sheet->afterSwitch();
          return TRUE;
        }
        return sheet->onCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
      case WM_CLOSE:  // the close box, Alt+F4
        sheet->outcome_ = Outcome::cancel;
        return TRUE;
      default:
        return FALSE;
    }
  });
}

bool SheetWindow::translateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  SheetKey key = message.wParam == VK_TAB ? SheetKey::tab
                 : message.wParam == VK_NEXT ? SheetKey::pageDown
                 : message.wParam == VK_PRIOR ? SheetKey::pageUp
                                              : SheetKey::other;
  std::optional<bool> forward = pageStepForKey(key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0);
  if (!forward) return false;
  (void)sequence_->step(*forward);
  afterSwitch();
  return true;
}

bool SheetWindow::run() {
  HWND owner = GetActiveWindow();
  if (!create(owner)) return false;
  HWND sheet = sheet_.get();
  bool ownerEnabled = owner && IsWindowEnabled(owner);
  if (ownerEnabled) (void)EnableWindow(owner, FALSE);
  (void)ShowWindow(sheet, SW_SHOW);
  HWND first = GetNextDlgTabItem(pageWindows_[sequence_->shownPage()]->window(), nullptr, FALSE);
  (void)SetFocus(first ? first : list_);

  MSG message{};
  while (outcome_ == Outcome::open) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT is for the loop outside the sheet: the sheet closes as cancelled.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      outcome_ = Outcome::cancel;
      break;
    }
    bool forSheet = message.hwnd == sheet || IsChild(sheet, message.hwnd);
    if (forSheet && withoutThrowing([&]() -> INT_PTR { return translateKey(message); })) continue;
    if (IsDialogMessageW(sheet, &message)) continue;
    (void)TranslateMessage(&message);
    (void)DispatchMessageW(&message);
  }
  // The owner comes back before the sheet goes, so that it is activated again.
  if (ownerEnabled) (void)EnableWindow(owner, TRUE);
  (void)ShowWindow(sheet, SW_HIDE);
  return outcome_ == Outcome::ok;
}

}  // namespace

bool Win32SetupSheet::runModal(const SetupSheetLayout& layout, const SetupSheetPages& pages) {
  (void)registerPropertyGridClass(module_);
  SheetWindow sheet(module_, layout, pages);
  return sheet.run();
}

}  // namespace quorlex
