#include "taskdialog/dialog_window_win32.h"

#include <commctrl.h>

#include <string>

#include "taskdialog/command_link.h"
#include "taskdialog/gdi_handles_win32.h"
#include "taskdialog/painter_win32.h"
#include "taskdialog/task_dialog_controls.h"

namespace quorlex {
namespace {

// The subclass of each kind is known to the platform by one of these ids.
enum SubclassId : UINT_PTR { staticSubclass = 1, iconSubclass, buttonSubclass, commandLinkSubclass };

constexpr UINT reflectedControlColour = WM_CTLCOLORSTATIC + reflectedMessageOffset;  // 0x2138
constexpr UINT reflectedDrawItem = WM_DRAWITEM + reflectedMessageOffset;             // 0x202B

Rect clientOf(HWND window) {
  RECT rect{};
  (void)GetClientRect(window, &rect);
  return fromGdi(rect);
}

// Every subclass detaches itself when its control goes; no exception leaves a window procedure.
template <class Subclass, class Handler>
LRESULT subclassCall(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR object,
                     SUBCLASSPROC self, Handler handler) {
  if (message == WM_NCDESTROY) {
    (void)RemoveWindowSubclass(window, self, id);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    return handler(*reinterpret_cast<Subclass*>(object));
  } catch (...) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
}

// The text statics and the check box and radio buttons answer the same two messages.
template <class Subclass>
LRESULT CALLBACK bandProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR object) {
  return subclassCall<Subclass>(window, message, wParam, lParam, id, object, bandProcedure<Subclass>,
                                [&](Subclass& subclass) -> LRESULT {
    switch (message) {
      case reflectedControlColour: {
        Win32Painter dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>(subclass.onControlColour(dc));
      }
      case WM_ERASEBKGND: {
        Win32Painter dc(reinterpret_cast<HDC>(wParam));
        return subclass.onEraseBackground(dc, clientOf(window));
      }
      default:
        return DefSubclassProc(window, message, wParam, lParam);
    }
  });
}

LRESULT CALLBACK iconProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR object) {
  return subclassCall<CXTaskDialogIconStatic>(window, message, wParam, lParam, id, object, iconProcedure,
                                              [&](CXTaskDialogIconStatic& subclass) -> LRESULT {
    if (message != WM_PAINT) return DefSubclassProc(window, message, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    LRESULT result = 0;
    {
      Win32Painter painter(dc);
      result = subclass.onPaint(painter);
    }
    (void)EndPaint(window, &paint);
    return result;
  });
}

LRESULT CALLBACK commandLinkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR object) {
  return subclassCall<CXTaskDialogCommandLink>(
      window, message, wParam, lParam, id, object, commandLinkProcedure,
      [&](CXTaskDialogCommandLink& subclass) -> LRESULT {
        Win32ControlWindow control(window);
        switch (message) {
          case reflectedDrawItem: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Win32Painter dc(item.hDC);
            return subclass.onDrawItem({fromGdi(item.rcItem), item.itemState}, control, dc);
          }
          case WM_MOUSEMOVE:
            subclass.onMouseMove(control);
            return DefSubclassProc(window, message, wParam, lParam);
          case WM_MOUSELEAVE:
            return subclass.onMouseLeave(control);
          case WM_UPDATEUISTATE:
            subclass.onUiStateChange(control);
            return DefSubclassProc(window, message, wParam, lParam);
          case WM_ERASEBKGND:
            return subclass.onEraseBackground();
          default:
            return DefSubclassProc(window, message, wParam, lParam);
        }
      });
}

bool subclass(HWND control, SUBCLASSPROC procedure, SubclassId id, void* object) {
  return control != nullptr && SetWindowSubclass(control, procedure, id, reinterpret_cast<DWORD_PTR>(object));
}

}  // namespace

Rect Win32DialogWindow::windowRect() {
  RECT rect{};
  (void)GetWindowRect(dialog_, &rect);
  return fromGdi(rect);
}

Rect Win32DialogWindow::clientRect() { return clientOf(dialog_); }

int Win32DialogWindow::windowBottomInClient() {
  RECT frame{};
  (void)GetWindowRect(dialog_, &frame);
  POINT bottom{frame.left, frame.bottom};
  (void)ScreenToClient(dialog_, &bottom);
  return bottom.y;
}

void Win32DialogWindow::moveWindow(Point topLeft) {
  (void)SetWindowPos(dialog_, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32DialogWindow::resizeWindow(Size size) {
  (void)SetWindowPos(dialog_, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void Win32DialogWindow::invalidate() {
  (void)RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Win32DialogWindow::updateNow() { (void)RedrawWindow(dialog_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void Win32DialogWindow::disableCloseMenuItem() {
  if (HMENU menu = GetSystemMenu(dialog_, FALSE)) (void)EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

void Win32DialogWindow::setWindowIcons(IconHandle small, IconHandle big) {
  (void)SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  (void)SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
}

bool Win32DialogWindow::postCommand(WParam wParam, LParam lParam) {
  return PostMessageW(dialog_, WM_COMMAND, wParam, lParam) != FALSE;
}

void Win32DialogWindow::postClose() { (void)PostMessageW(dialog_, WM_CLOSE, 0, 0); }

void Win32DialogWindow::endDialog(std::intptr_t value) { (void)EndDialog(dialog_, value); }

std::uintptr_t Win32DialogWindow::startTimer(std::uintptr_t id, std::uint32_t periodMs) {
  return SetTimer(dialog_, id, periodMs, nullptr);
}

void Win32DialogWindow::stopTimer(std::uintptr_t id) { (void)KillTimer(dialog_, id); }

Rect Win32DialogWindow::controlRect(int id) {
  HWND window = control(id);
  if (window == nullptr) return {};
  RECT rect{};
  (void)GetWindowRect(window, &rect);
  (void)MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
  return fromGdi(rect);
}

void Win32DialogWindow::moveControl(int id, Point topLeft) {
  if (HWND window = control(id)) {
    (void)SetWindowPos(window, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32DialogWindow::showControl(int id, bool show) {
  if (HWND window = control(id)) (void)ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

void Win32DialogWindow::enableControl(int id, bool enable) {
  if (HWND window = control(id)) (void)EnableWindow(window, enable);
}

bool Win32DialogWindow::isChecked(int id) {
  return control(id) != nullptr && IsDlgButtonChecked(dialog_, id) == BST_CHECKED;
}

void Win32DialogWindow::setChecked(int id, bool checked) {
  if (control(id) != nullptr) (void)CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogWindow::setControlText(int id, std::u16string_view text) {
  if (HWND window = control(id)) {
    const std::u16string terminated(text);
    (void)SetWindowTextW(window, wide(terminated));
  }
}

void Win32DialogWindow::setControlFont(int id, FontHandle font) {
  (void)sendToControl(id, WM_SETFONT, reinterpret_cast<WPARAM>(gdi(font)), TRUE);
}

void Win32DialogWindow::setFocus(int id) {
  // Through the dialog manager, which also moves the default-button outline.
  if (HWND window = control(id)) (void)SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window), TRUE);
}

void Win32DialogWindow::invalidateControl(int id) {
  if (HWND window = control(id)) (void)InvalidateRect(window, nullptr, TRUE);
}

void Win32DialogWindow::setButtonImage(int id, IconHandle icon) {
  (void)sendToControl(id, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Win32DialogWindow::setMarqueeStyle(int id, bool on) {
  HWND window = control(id);
  if (window == nullptr) return;
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  (void)SetWindowLongPtrW(window, GWL_STYLE, on ? (style | PBS_MARQUEE) : (style & ~LONG_PTR{PBS_MARQUEE}));
}

void Win32DialogWindow::startMarquee(int id, std::uint32_t periodMs) {
  (void)sendToControl(id, PBM_SETMARQUEE, TRUE, static_cast<LPARAM>(periodMs));
}

LResult Win32DialogWindow::setProgressState(int id, WParam state) { return sendToControl(id, PBM_SETSTATE, state, 0); }

LResult Win32DialogWindow::setProgressRange(int id, LParam range) { return sendToControl(id, PBM_SETRANGE, 0, range); }

LResult Win32DialogWindow::setProgressPosition(int id, WParam position) {
  return sendToControl(id, PBM_SETPOS, position, 0);
}

LResult Win32DialogWindow::sendToControl(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = control(id);
  return window != nullptr ? SendMessageW(window, message, wParam, lParam) : 0;
}

bool Win32DialogWindow::attach(int id, CXTaskDialogStatic& object) {
  return subclass(control(id), bandProcedure<CXTaskDialogStatic>, staticSubclass, &object);
}

bool Win32DialogWindow::attach(int id, CXTaskDialogIconStatic& object) {
  return subclass(control(id), iconProcedure, iconSubclass, &object);
}

bool Win32DialogWindow::attach(int id, CXTaskDialogButton& object) {
  return subclass(control(id), bandProcedure<CXTaskDialogButton>, buttonSubclass, &object);
}

bool Win32DialogWindow::attach(int id, CXTaskDialogCommandLink& object) {
  return subclass(control(id), commandLinkProcedure, commandLinkSubclass, &object);
}

std::u16string Win32ControlWindow::text() {
  const int length = GetWindowTextLengthW(control_);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(control_, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

IconHandle Win32ControlWindow::image() {
  return reinterpret_cast<HICON>(SendMessageW(control_, BM_GETIMAGE, IMAGE_ICON, 0));
}

void Win32ControlWindow::setImage(IconHandle icon) {
  (void)SendMessageW(control_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Win32ControlWindow::invalidate(bool erase) { (void)InvalidateRect(control_, nullptr, erase); }

bool Win32ControlWindow::trackMouseLeave(std::uint32_t hoverMs) {
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof request;
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = control_;
  request.dwHoverTime = hoverMs;
  return TrackMouseEvent(&request) != FALSE;
}

std::uint32_t Win32ControlWindow::uiState() {
  return static_cast<std::uint32_t>(SendMessageW(control_, WM_QUERYUISTATE, 0, 0));
}

}  // namespace quorlex
