#include "taskdialog/dialog_runner_win32.h"

#include <commctrl.h>

#include <cstring>
#include <optional>

#include "common/activation_context_win32.h"
#include "common/own_module_win32.h"
#include "common/unique_hglobal.h"
#include "common/unique_hmodule.h"
#include "taskdialog/dialog_window_win32.h"
#include "taskdialog/painter_win32.h"

namespace quorlex {
namespace {

constexpr UINT firstTaskDialogMessage = WM_USER + 101;  // TDM_NAVIGATE_PAGE, 1125
constexpr UINT lastTaskDialogMessage = WM_USER + 116;   // TDM_UPDATE_ICON, 1140

// The common controls of the active context, loaded and with the classes the dialog's
// template names registered, for as long as the dialog runs.
unique_hmodule loadCommonControls() {
  unique_hmodule library(LoadLibraryW(L"comctl32.dll"));
  if (!library) return library;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), "InitCommonControlsEx")));
  if (init != nullptr) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
    (void)init(&classes);
  }
  return library;
}

bool isLinkControl(HWND control) {
  wchar_t name[16] = {};
  return GetClassNameW(control, name, static_cast<int>(std::size(name))) > 0 && lstrcmpiW(name, WC_LINK) == 0;
}

// One modal run: the window's object, from the first message to the last.
class DialogSession {
 public:
  DialogSession(IDialogMessages& messages, const PixelPlacement& placement)
      : messages_(messages), placement_(placement) {}

  INT_PTR handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void placeAtPixels(HWND dialog);
  INT_PTR reflect(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR answer(HWND dialog, LRESULT result) {
    (void)SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
  }

  IDialogMessages& messages_;
  const PixelPlacement& placement_;
  std::optional<Win32DialogWindow> window_;
};

void DialogSession::placeAtPixels(HWND dialog) {
  RECT frame{}, client{};
  (void)GetWindowRect(dialog, &frame);
  (void)GetClientRect(dialog, &client);
  const int width = (frame.right - frame.left) + placement_.client.width - client.right;
  const int height = (frame.bottom - frame.top) + placement_.client.height - client.bottom;
  (void)SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const DialogItem& item : placement_.items) {
    if (HWND control = GetDlgItem(dialog, item.id)) {
      (void)SetWindowPos(control, nullptr, item.pixels.left, item.pixels.top, item.pixels.width(),
                         item.pixels.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

// Colour and draw notifications go back to the control that sent them, whose subclass answers
// them; a control without one answers 0 and the dialog manager's default applies.
INT_PTR DialogSession::reflect(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = nullptr;
  if (message == WM_DRAWITEM) {
    control = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
  } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    control = reinterpret_cast<HWND>(lParam);
  } else {
    control = GetDlgItem(dialog, static_cast<int>(wParam));
  }
  if (control == nullptr || GetParent(control) != dialog) return FALSE;
  const LRESULT result = SendMessageW(control, message + reflectedMessageOffset, wParam, lParam);
  if (result == 0) return FALSE;
  // A colour request's answer is the brush itself; the others go through the message result.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return static_cast<INT_PTR>(result);
  return answer(dialog, result);
}

INT_PTR DialogSession::handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      window_.emplace(dialog);
      placeAtPixels(dialog);
      return messages_.onInitDialog(*window_) != 0;
    case WM_COMMAND:
      messages_.onCommand(wParam, lParam);
      return TRUE;
    case WM_TIMER:
      messages_.onTimer(wParam);
      return TRUE;
    case WM_ERASEBKGND: {
      Win32Painter painter(reinterpret_cast<HDC>(wParam));
      return answer(dialog, messages_.onEraseBackground(painter));
    }
    case WM_HELP:
      messages_.onHelp();
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      // Only the hyperlink controls click with a link record; nothing else of ours notifies.
      if (header.code != static_cast<UINT>(NM_CLICK) || !isLinkControl(header.hwndFrom)) return FALSE;
      const auto& link = *reinterpret_cast<const NMLINK*>(lParam);
      messages_.onClick(reinterpret_cast<LParam>(link.item.szUrl));
      return TRUE;
    }
    case WM_DESTROY:
      messages_.onDestroy();
      return FALSE;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reflect(dialog, message, wParam, lParam);
    default:
      break;
  }
  if (message >= firstTaskDialogMessage && message <= lastTaskDialogMessage) {
    if (std::optional<LResult> result = messages_.onTaskDialogMessage(message, wParam, lParam)) {
      return answer(dialog, *result);
    }
  }
  return FALSE;
}

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) (void)SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* session = reinterpret_cast<DialogSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (session == nullptr) return FALSE;
  try {
    return session->handle(dialog, message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

ModalRun Win32DialogRunner::runModal(std::span<const std::uint8_t> dialogTemplate, const PixelPlacement& placement,
                                     WindowHandle owner, IDialogMessages& dialog) {
  unique_hglobal block(GlobalAlloc(GPTR, dialogTemplate.size()));
  if (!block) return {fromPlatformError(GetLastError()), -1};
  void* memory = GlobalLock(block.get());
  if (memory == nullptr) return {fromPlatformError(GetLastError()), -1};
  std::memcpy(memory, dialogTemplate.data(), dialogTemplate.size());

  const ComponentActivationContext context(ownModule());
  const unique_hmodule commonControls = loadCommonControls();
  DialogSession session(dialog, placement);
  const INT_PTR ended = DialogBoxIndirectParamW(ownModule(), static_cast<const DLGTEMPLATE*>(memory), owner,
                                                dialogProcedure, reinterpret_cast<LPARAM>(&session));
  (void)GlobalUnlock(block.get());
  return {resultOk, ended};
}

}  // namespace quorlex
