#pragma once
// The own dialog's modal run on Windows: the template in one block of global memory, run with
// DialogBoxIndirectParamW inside the component's activation context (so that its buttons and
// hyperlink controls are the common controls' version 6), with a dialog procedure that hands
// the dialog's messages to IDialogMessages and reflects its controls' notifications to them.

#include <windows.h>

#include "taskdialog/own_dialog_services.h"

namespace quorlex {

class Win32DialogRunner final : public IDialogRunner {
 public:
  ModalRun runModal(std::span<const std::uint8_t> dialogTemplate, const PixelPlacement& placement,
                    WindowHandle owner, IDialogMessages& dialog) override;
  std::uint32_t tickCount() override { return GetTickCount(); }
  void playAlert(std::uint32_t messageBoxType) override { (void)MessageBeep(messageBoxType); }
};

}  // namespace quorlex
