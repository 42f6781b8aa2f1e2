#include "taskdialog/task_dialog_client_win32.h"

#include "common/activation_context_win32.h"
#include "common/own_module_win32.h"
#include "common/unique_hmodule.h"

namespace quorlex {
namespace {

using PlatformTaskDialogIndirect = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

#if !defined(_WIN64)
static_assert(sizeof(HELPINFO) == 28, "the help-information record of the 32-bit platform");
#endif

}  // namespace

ResultCode Win32PlatformTaskDialog::run(const std::function<ResultCode(const TaskDialogFunction&)>& show) {
  const ComponentActivationContext context(ownModule());
  unique_hmodule library(LoadLibraryW(L"comctl32.dll"));
  if (!library) return fromPlatformError(GetLastError());
  auto entry = reinterpret_cast<PlatformTaskDialogIndirect>(
      reinterpret_cast<void*>(GetProcAddress(library.get(), "TaskDialogIndirect")));
  if (entry == nullptr) return fromPlatformError(GetLastError());
  return show([entry](const TASKDIALOGCONFIG* config, int* button, int* radioButton, int* verification) {
    static_assert(sizeof(BOOL) == sizeof(int));
    return static_cast<ResultCode>(entry(config, button, radioButton, reinterpret_cast<BOOL*>(verification)));
  });
}

WindowHandle Win32ModalFraming::safeOwner(WindowHandle parent) {
  if (parent == nullptr) {
    HWND active = GetActiveWindow();
    return active != nullptr ? GetLastActivePopup(active) : nullptr;
  }
  HWND window = parent;
  while (window != nullptr && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) window = GetParent(window);
  return window;
}

WindowHandle Win32ModalFraming::topLevelWindow(WindowHandle window) { return GetAncestor(window, GA_ROOTOWNER); }

bool Win32ModalFraming::belongsToCurrentProcess(WindowHandle window) {
  DWORD process = 0;
  (void)GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

std::uint32_t* Win32ModalFraming::helpPromptContextOf(WindowHandle window) {
  return reinterpret_cast<std::uint32_t*>(SendMessageW(window, helpPromptAddressMessage, 0, 0));
}

Point Win32HelpRequests::cursorPosition() {
  POINT position{};
  (void)GetCursorPos(&position);
  return {static_cast<int>(position.x), static_cast<int>(position.y)};
}

void Win32HelpRequests::sendHelp(WindowHandle target, const HelpRequest& request) {
  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = request.contextType;
  info.iCtrlId = request.controlId;
  info.hItemHandle = request.item;
  info.dwContextId = request.contextId;
  info.MousePos = {request.mouse.x, request.mouse.y};
  (void)SendMessageW(target, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace quorlex
