#include "setup/property_grid_window_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <memory>
#include <string>

#include "common/unique_gdi.h"
#include "setup/choice_menu_win32.h"
#include "setup/property_grid_paint.h"
#include "setup/property_grid_painter_win32.h"
#include "setup/property_grid_view.h"

namespace quorlex {
namespace {

// Private messages of the grid: the page's two calls arrive as these.
constexpr UINT layoutMessage = WM_USER + 0x51;
constexpr UINT refreshMessage = WM_USER + 0x52;
// Children and painting brought in line with the view, once the message that changed it is done.
constexpr UINT syncMessage = WM_USER + 0x53;
constexpr UINT cellsMessage = WM_USER + 0x54;

struct CellsQuery {
  const CMappedProperty* item;
  RECT name;
  RECT value;
};
constexpr UINT_PTR editSubclassId = 1;

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string windowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

HWND createChild(HWND parent, const wchar_t* className, DWORD style, int id, HMODULE module) {
  return CreateWindowExW(0, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
}

void moveTo(HWND window, const GridRect& rect) {
  (void)SetWindowPos(window, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

struct CreationData {
  PropertyGrid* model;
  HMODULE module;
};

class GridWindow {
 public:
  GridWindow(HWND window, PropertyGrid& model, HMODULE module) : window_(window), view_(model), module_(module) {}

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  bool create();
  void applyFont(HFONT font);
  void sync();
  void syncHeader();
  void syncScrollBar();
  void syncEdit();
  void act(GridReply reply);
  void openMenu();
  void paint();
  bool focused() const;
  LRESULT onKeyDown(WPARAM key, LPARAM lParam, bool alt);
  bool findCells(CellsQuery& query) const;
  LRESULT onHeaderNotify(const NMHEADERW& notice);
  void onScroll(WORD request);
  void onWheel(short delta);
  GridPoint pointOf(LPARAM lParam) const { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

  HWND window_;
  PropertyGridView view_;
  HMODULE module_;
  HWND header_ = nullptr;
  HWND scrollBar_ = nullptr;
  HWND edit_ = nullptr;
  HFONT font_ = nullptr;
  unique_hfont boldFont_;
  bool redraw_ = true;
  bool settingHeader_ = false;
  bool settingEditText_ = false;
  const CMappedProperty* editShownFor_ = nullptr;
  int wheelRemainder_ = 0;
};

LRESULT CALLBACK editProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR grid) {
  return reinterpret_cast<GridWindow*>(grid)->handleEdit(edit, message, wParam, lParam);
}

GridWindow* gridOf(HWND window) { return reinterpret_cast<GridWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

bool GridWindow::create() {
  header_ = createChild(window_, WC_HEADERW, WS_VISIBLE | HDS_HORZ | HDS_FULLDRAG, propertyGridHeaderId, module_);
  scrollBar_ = createChild(window_, L"ScrollBar", SBS_VERT, propertyGridScrollBarId, module_);
  edit_ = createChild(window_, WC_EDITW, ES_AUTOHSCROLL | ES_LEFT, propertyGridEditId, module_);
  if (!header_ || !scrollBar_ || !edit_) return false;
  const std::u16string_view titles[] = {propertyColumnTitle, valueColumnTitle};
  for (int column = 0; column < 2; ++column) {
    std::u16string title(titles[column]);
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = const_cast<wchar_t*>(wide(title));
    item.cxy = 100;
    if (SendMessageW(header_, HDM_INSERTITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)) < 0) return false;
  }
  if (!SetWindowSubclass(edit_, editProcedure, editSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  (void)SendMessageW(edit_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  HWND parent = GetParent(window_);
  applyFont(parent ? reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr);
  return true;
}

// The grid measures everything in its font: the parent's dialog font, in normal and bold.
void GridWindow::applyFont(HFONT font) {
  font_ = font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW description{};
  if (GetObjectW(font_, sizeof description, &description) == sizeof description) {
    description.lfWeight = FW_BOLD;
    boldFont_.reset(CreateFontIndirectW(&description));
  }
  GridMetrics metrics;
  {
    window_dc screen(window_);
    selected_object selected(screen.get(), font_);
    TEXTMETRICW text{};
    if (GetTextMetricsW(screen.get(), &text)) {
      metrics.textHeight = text.tmHeight;
      metrics.averageCharWidth = text.tmAveCharWidth;
    }
  }
  (void)SendMessageW(header_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  (void)SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  RECT bounds{0, 0, 1000, 1000};
  WINDOWPOS position{};
  HDLAYOUT layout{&bounds, &position};
  if (SendMessageW(header_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout))) metrics.headerHeight = position.cy;
  metrics.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
  view_.setMetrics(metrics);
  sync();
}

void GridWindow::sync() {
  if (!redraw_) return;
  syncHeader();
  syncScrollBar();
  syncEdit();
  (void)InvalidateRect(window_, nullptr, FALSE);
}

void GridWindow::syncHeader() {
  moveTo(header_, view_.headerRect());
  settingHeader_ = true;
  const int widths[] = {view_.nameColumnWidth(), view_.valueColumnWidth()};
  for (int column = 0; column < 2; ++column) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = widths[column];
    (void)SendMessageW(header_, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  }
  settingHeader_ = false;
}

void GridWindow::syncScrollBar() {
  std::optional<GridRect> bar = view_.scrollBarRect();
  if (!bar) {
    (void)ShowWindow(scrollBar_, SW_HIDE);
    return;
  }
  moveTo(scrollBar_, *bar);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(view_.rows().size()) - 1,
                  static_cast<UINT>(view_.pageRows()), view_.topRow(), 0};
  (void)SetScrollInfo(scrollBar_, SB_CTL, &info, TRUE);
  (void)ShowWindow(scrollBar_, SW_SHOWNA);
}

void GridWindow::syncEdit() {
  std::optional<GridRect> box = view_.editRect();
  if (!box) {
    editShownFor_ = nullptr;
    if (!IsWindowVisible(edit_)) return;
    bool hadFocus = GetFocus() == edit_;
    (void)ShowWindow(edit_, SW_HIDE);
    if (hadFocus) (void)SetFocus(window_);
    return;
  }
  moveTo(edit_, *box);
  if (editShownFor_ == view_.editItem() && IsWindowVisible(edit_)) return;
  editShownFor_ = view_.editItem();
  settingEditText_ = true;
  (void)SetWindowTextW(edit_, wide(view_.editText()));
  settingEditText_ = false;
  (void)ShowWindow(edit_, SW_SHOW);
  (void)SetFocus(edit_);
  (void)SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void GridWindow::act(GridReply reply) {
  sync();
  if (reply == GridReply::OpenMenu) openMenu();
}

// The item's button click: its menu below the button, owned by the page, which receives the
// choice as a command.
void GridWindow::openMenu() {
  CMappedProperty* item = view_.selectedItem();
  std::optional<GridRect> button = view_.valueButtonRect();
  if (!item || !button) return;
  (void)UpdateWindow(window_);
  RECT onScreen{button->left, button->top, button->right, button->bottom};
  (void)MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&onScreen), 2);
  ChoiceMenu menu = item->openChoiceMenu();
  if (menu.entries.empty()) return;
  ScreenPoint at = CMappedProperty::choiceMenuPosition({onScreen.left, onScreen.top, onScreen.right, onScreen.bottom});
  (void)showChoiceMenu(module_, menu, GetParent(window_), POINT{at.x, at.y});
}

bool GridWindow::focused() const {
  HWND focus = GetFocus();
  return focus == window_ || (focus && focus == edit_);
}

void GridWindow::paint() {
  paint_scope painting(window_);
  RECT client{};
  (void)GetClientRect(window_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  // Drawn into a bitmap first and copied in one go, so the rows never flicker.
  unique_memory_dc buffer(painting.get());
  unique_hbitmap bitmap(CreateCompatibleBitmap(painting.get(), client.right, client.bottom));
  if (!buffer || !bitmap) return;
  selected_object target(buffer.get(), bitmap.get());
  paintOperations(buffer.get(), paintPropertyGrid(view_, focused()), {font_, boldFont_ ? boldFont_.get() : font_});
  (void)BitBlt(painting.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

LRESULT GridWindow::onKeyDown(WPARAM key, LPARAM lParam, bool alt) {
  std::optional<GridKey> gridKey;
  switch (key) {
    case VK_UP: gridKey = GridKey::Up; break;
    case VK_DOWN: gridKey = GridKey::Down; break;
    case VK_HOME: gridKey = GridKey::Home; break;
    case VK_END: gridKey = GridKey::End; break;
    case VK_PRIOR: gridKey = GridKey::PageUp; break;
    case VK_NEXT: gridKey = GridKey::PageDown; break;
    case VK_LEFT: gridKey = GridKey::Left; break;
    case VK_RIGHT: gridKey = GridKey::Right; break;
    case VK_F2: gridKey = GridKey::F2; break;
    case VK_F4: gridKey = GridKey::F4; break;
    case VK_RETURN: gridKey = GridKey::Enter; break;
    default: break;
  }
  GridReply reply = gridKey && (!alt || key == VK_DOWN) ? view_.onKey(*gridKey, alt) : GridReply::Ignored;
  if (reply == GridReply::Ignored) {
    return DefWindowProcW(window_, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lParam);
  }
  act(reply);
  return 0;
}

LRESULT GridWindow::onHeaderNotify(const NMHEADERW& notice) {
  switch (notice.hdr.code) {
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
      // Only the boundary between the two columns moves; the value column ends at the edge.
      return notice.iItem != 0;
    case HDN_ITEMCHANGINGW:
    case HDN_ITEMCHANGINGA: {
      if (settingHeader_ || !notice.pitem || !(notice.pitem->mask & HDI_WIDTH)) return FALSE;
      if (notice.iItem != 0) return TRUE;
      int wanted = notice.pitem->cxy;
      int taken = view_.setBoundary(wanted);
      if (taken != wanted) {
        // Refused as asked; the header follows the position the grid took instead.
        (void)PostMessageW(window_, syncMessage, 0, 0);
        return TRUE;
      }
      return FALSE;
    }
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGEDA:
      if (!settingHeader_ && notice.iItem == 0) sync();
      return 0;
    default: return 0;
  }
}

bool GridWindow::findCells(CellsQuery& query) const {
  for (int row = view_.topRow(); row < view_.topRow() + view_.pageRows(); ++row) {
    if (row >= static_cast<int>(view_.rows().size())) break;
    if (view_.itemOf(view_.rows()[static_cast<std::size_t>(row)]) != query.item) continue;
    GridRect name = view_.nameCellRect(row);
    GridRect value = view_.valueCellRect(row);
    query.name = {name.left, name.top, name.right, name.bottom};
    query.value = {value.left, value.top, value.right, value.bottom};
    return true;
  }
  return false;
}

void GridWindow::onScroll(WORD request) {
  switch (request) {
    case SB_LINEUP: view_.scroll(GridScroll::LineUp); break;
    case SB_LINEDOWN: view_.scroll(GridScroll::LineDown); break;
    case SB_PAGEUP: view_.scroll(GridScroll::PageUp); break;
    case SB_PAGEDOWN: view_.scroll(GridScroll::PageDown); break;
    case SB_TOP: view_.scroll(GridScroll::Top); break;
    case SB_BOTTOM: view_.scroll(GridScroll::Bottom); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(scrollBar_, SB_CTL, &info)) view_.scroll(GridScroll::ToPosition, info.nTrackPos);
      break;
    }
    default: return;
  }
  sync();
}

void GridWindow::onWheel(short delta) {
  UINT linesPerNotch = 3;
  (void)SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
  if (linesPerNotch == WHEEL_PAGESCROLL) linesPerNotch = static_cast<UINT>(view_.pageRows());
  // Fine-grained wheels send less than a notch at a time; the rest waits for the next turn.
  wheelRemainder_ += delta;
  int notches = wheelRemainder_ / WHEEL_DELTA;
  wheelRemainder_ -= notches * WHEEL_DELTA;
  if (notches == 0) return;
  view_.scrollLines(-notches * static_cast<int>(linesPerNotch));
  sync();
}

LRESULT GridWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return create() ? 0 : -1;
    case WM_SETFONT:
      applyFont(reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
      view_.resize(LOWORD(lParam), HIWORD(lParam));
      sync();
      return 0;
    case WM_SETREDRAW:
      redraw_ = wParam != 0;
      (void)DefWindowProcW(window_, message, wParam, lParam);
      sync();
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paint(); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SYSCOLORCHANGE:
      (void)InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      const MSG* pending = reinterpret_cast<const MSG*>(lParam);
      if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN && view_.takesEnter()) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN: return onKeyDown(wParam, lParam, false);
    case WM_SYSKEYDOWN: return onKeyDown(wParam, lParam, true);
    case WM_CHAR:
      if (wParam == L'+' || wParam == L'-') {
        act(view_.onKey(wParam == L'+' ? GridKey::Expand : GridKey::Collapse));
        return 0;
      }
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window_) (void)SetFocus(window_);
      GridReply reply = view_.onMouseDown(pointOf(lParam));
      if (view_.dragging()) (void)SetCapture(window_);
      act(reply);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      act(view_.onDoubleClick(pointOf(lParam)));
      return 0;
    case WM_MOUSEMOVE:
      if (view_.dragging()) {
        view_.onMouseMove(pointOf(lParam));
        sync();
      }
      return 0;
    case WM_LBUTTONUP:
      if (view_.dragging()) (void)ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED: view_.onMouseUp(); return 0;
    case WM_SETCURSOR: {
      POINT cursor{};
      (void)GetCursorPos(&cursor);
      (void)ScreenToClient(window_, &cursor);
      if (reinterpret_cast<HWND>(wParam) == window_ &&
          (view_.dragging() || view_.hitTest({cursor.x, cursor.y}).part == GridPart::ColumnBoundary)) {
        (void)SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
        return TRUE;
      }
      return DefWindowProcW(window_, message, wParam, lParam);
    }
    case WM_MOUSEWHEEL: onWheel(GET_WHEEL_DELTA_WPARAM(wParam)); return 0;
    case WM_VSCROLL: onScroll(LOWORD(wParam)); return 0;
    case WM_NOTIFY: {
      const NMHDR* notice = reinterpret_cast<const NMHDR*>(lParam);
      if (notice && notice->hwndFrom == header_) return onHeaderNotify(*reinterpret_cast<const NMHEADERW*>(lParam));
      return 0;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == edit_ && HIWORD(wParam) == EN_CHANGE && !settingEditText_) {
        view_.setEditText(windowText(edit_));
      }
      return 0;
    case layoutMessage:
      view_.layOut();
      sync();
      return 0;
    case syncMessage:
      sync();
      return 0;
    case cellsMessage: return findCells(*reinterpret_cast<CellsQuery*>(lParam));
    case refreshMessage:
      view_.refresh();
      sync();
      return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// The edit box over a text constant's value cell: Enter keeps what was typed, Escape drops
// it, leaving it keeps it; Up, Down and the page keys move on through the grid.
LRESULT GridWindow::handleEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(edit, message, wParam, lParam);
      const MSG* pending = reinterpret_cast<const MSG*>(lParam);
      if (pending && pending->message == WM_KEYDOWN && (pending->wParam == VK_RETURN || pending->wParam == VK_ESCAPE)) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_RETURN:
          view_.endEdit();
          sync();
          return 0;
        case VK_ESCAPE:
          view_.cancelEdit();
          sync();
          return 0;
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_F4: return onKeyDown(wParam, lParam, false);
        default: break;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN) return onKeyDown(wParam, lParam, true);
      break;
    case WM_CHAR:
      if (wParam == L'\r' || wParam == 0x1B) return 0;  // no beep for the keys handled above
      break;
    case WM_KILLFOCUS:
      if (view_.editing()) {
        view_.endEdit();
        (void)PostMessageW(window_, syncMessage, 0, 0);
      }
      (void)InvalidateRect(window_, nullptr, FALSE);
      break;
    case WM_NCDESTROY: (void)RemoveWindowSubclass(edit, editProcedure, editSubclassId); break;
    default: break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK gridProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const auto* data = static_cast<const CreationData*>(creation->lpCreateParams);
    if (!data || !data->model) return FALSE;
    auto grid = std::make_unique<GridWindow>(window, *data->model, data->module);
    (void)SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(grid.release()));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  GridWindow* grid = gridOf(window);
  if (message == WM_NCDESTROY) {
    std::unique_ptr<GridWindow> owned(grid);
    (void)SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!grid) return DefWindowProcW(window, message, wParam, lParam);
  return grid->handle(message, wParam, lParam);
}

bool isPropertyGrid(HWND window) {
  wchar_t name[64]{};
  return window && GetClassNameW(window, name, 64) > 0 && std::wstring_view(name) == propertyGridWindowClass;
}

}  // namespace

bool registerPropertyGridClass(HINSTANCE module) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  (void)InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = gridProcedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = propertyGridWindowClass;
  return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterPropertyGridClass(HINSTANCE module) { (void)UnregisterClassW(propertyGridWindowClass, module); }

HWND createPropertyGridWindow(HWND parent, const RECT& rect, int controlId, PropertyGrid& model, HINSTANCE module) {
  CreationData data{&model, module};
  return CreateWindowExW(0, propertyGridWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_CLIPCHILDREN,
                         rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), module, &data);
}

void layoutPropertyGrid(HWND grid) {
  if (isPropertyGrid(grid)) (void)SendMessageW(grid, layoutMessage, 0, 0);
}

void refreshPropertyGrid(HWND grid) {
  if (isPropertyGrid(grid)) (void)SendMessageW(grid, refreshMessage, 0, 0);
}

bool propertyGridItemCells(HWND grid, const CMappedProperty& item, RECT& name, RECT& value) {
  CellsQuery query{&item, {}, {}};
  if (!isPropertyGrid(grid) || !SendMessageW(grid, cellsMessage, 0, reinterpret_cast<LPARAM>(&query))) return false;
  name = query.name;
  value = query.value;
  return true;
}

}  // namespace quorlex
