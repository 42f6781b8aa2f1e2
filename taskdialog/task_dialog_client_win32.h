#pragma once
// The task-dialog client's platform on Windows: the platform's own task dialog from the common
// controls, the modal framing around a dialog, and help requests.

#include <windows.h>

#include "taskdialog/task_dialog_client.h"

namespace quorlex {

// "comctl32.dll" and its TaskDialogIndirect, loaded, called and freed inside the component's
// activation context, so that the version 6 library, which has the task dialog, is the one used.
class Win32PlatformTaskDialog final : public IPlatformTaskDialog {
 public:
  ResultCode run(const std::function<ResultCode(const TaskDialogFunction&)>& show) override;
};

// Without a framework the application has no modeless windows to disable and no help-prompt
// context of its own but the one kept here.
class Win32ModalFraming final : public IModalFraming {
 public:
  void enableModelessWindows(bool) override {}
  WindowHandle safeOwner(WindowHandle parent) override;
  WindowHandle topLevelWindow(WindowHandle window) override;
  bool isWindowEnabled(WindowHandle window) override { return IsWindowEnabled(window) != FALSE; }
  void enableWindow(WindowHandle window, bool enable) override { (void)EnableWindow(window, enable); }
  bool belongsToCurrentProcess(WindowHandle window) override;
  std::uint32_t* helpPromptContextOf(WindowHandle window) override;
  std::uint32_t* applicationHelpPromptContext() override { return &applicationContext_; }

 private:
  std::uint32_t applicationContext_ = 0;
};

class Win32HelpRequests final : public IHelpRequests {
 public:
  Point cursorPosition() override;
  void sendHelp(WindowHandle target, const HelpRequest& request) override;
};

// The framework's message asking a window for the address of its help-prompt context.
inline constexpr UINT helpPromptAddressMessage = 0x0376;

}  // namespace quorlex
