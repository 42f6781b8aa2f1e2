#include "taskdialog/modal_framing.h"

namespace quorlex {

ResultCode runModalFramed(IModalFraming* framing, TASKDIALOGCONFIG& config,
                          std::uint32_t helpPromptId, const std::function<ResultCode()>& dialog) {
  if (framing == nullptr) return dialog();
  ResultCode result = resultUnexpected;
  framing->enableModelessWindows(false);

  WindowHandle owner = framing->safeOwner(config.hwndParent);
  WindowHandle disabledTop = nullptr;
  if (owner != nullptr) {
    WindowHandle top = framing->topLevelWindow(owner);
    if (top != nullptr && top != owner && framing->isWindowEnabled(top)) {
      framing->enableWindow(top, false);
      disabledTop = top;
    }
    // So that the focus goes back to the owner when the dialog ends.
    if (top != owner) framing->enableWindow(owner, true);
  }

  std::uint32_t* context = nullptr;
  if (owner != nullptr && framing->belongsToCurrentProcess(owner)) {
    context = framing->helpPromptContextOf(owner);
  }
  if (context == nullptr) context = framing->applicationHelpPromptContext();
  const std::uint32_t savedContext = context != nullptr ? *context : 0;
  if (context != nullptr && helpPromptId != 0) *context = helpPromptContextBase + helpPromptId;

  config.hwndParent = owner;
  result = dialog();

  if (context != nullptr) *context = savedContext;
  if (disabledTop != nullptr) framing->enableWindow(disabledTop, true);
  framing->enableModelessWindows(true);
  return result;
}

}  // namespace quorlex
