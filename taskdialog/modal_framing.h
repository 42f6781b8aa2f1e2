#pragma once
// The steps around a modal task dialog, the platform's or the own one: the application's other
// windows disabled, a safe owner found, the help-prompt context set, and all of it undone.

#include <cstdint>
#include <functional>

#include "common/result_code.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

// What the framing needs of the windowing platform and the application.
class IModalFraming {
 public:
  virtual ~IModalFraming() = default;
  virtual void enableModelessWindows(bool enable) = 0;
  // The owner a framework gives a message box: the window (or its nearest non-child ancestor),
  // or without one the last active pop-up of the application's main window; may be none.
  virtual WindowHandle safeOwner(WindowHandle parent) = 0;
  virtual WindowHandle topLevelWindow(WindowHandle window) = 0;
  virtual bool isWindowEnabled(WindowHandle window) = 0;
  virtual void enableWindow(WindowHandle window, bool enable) = 0;
  virtual bool belongsToCurrentProcess(WindowHandle window) = 0;
  // The address of the window's help-prompt context (framework message 0x0376); may be none.
  virtual std::uint32_t* helpPromptContextOf(WindowHandle window) = 0;
  // The application's own help-prompt context; may be none.
  virtual std::uint32_t* applicationHelpPromptContext() = 0;
};

// While the dialog is up, a help-prompt id p other than 0 makes the context 0x30000 + p.
inline constexpr std::uint32_t helpPromptContextBase = 0x30000;

// Runs the dialog inside the framing, with config.hwndParent replaced by the owner found, and
// returns the dialog's result. Without a framing the dialog runs as it is.
ResultCode runModalFramed(IModalFraming* framing, TASKDIALOGCONFIG& config,
                          std::uint32_t helpPromptId, const std::function<ResultCode()>& dialog);

}  // namespace quorlex
