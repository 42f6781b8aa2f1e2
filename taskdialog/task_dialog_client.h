#pragma once
// CXTaskDialogMFCClient: how the rest of the system asks a task-dialog question. A caller fills
// the request through the setters, calls DoModal and reads the answer; DoModal shows the
// platform's task dialog where it can be had and does not fail, else the own dialog with the
// same request. Notifications arrive at the virtual handlers.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/result_code.h"
#include "taskdialog/drawing.h"
#include "taskdialog/modal_framing.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

// The platform's common-controls library.
class IPlatformTaskDialog {
 public:
  virtual ~IPlatformTaskDialog() = default;
  // Loads "comctl32.dll", looks up "TaskDialogIndirect", calls show with it and unloads the
  // library again. When the library or the entry is missing: the last error as a result code,
  // and show is not called.
  virtual ResultCode run(const std::function<ResultCode(const TaskDialogFunction&)>& show) = 0;
};

// The help-information record of a help request about a window (its size is the platform's).
struct HelpRequest {
  int contextType = 1;
  int controlId = 0;
  WindowHandle item = nullptr;
  std::uintptr_t contextId = 0;
  Point mouse;
};

class IHelpRequests {
 public:
  virtual ~IHelpRequests() = default;
  virtual Point cursorPosition() = 0;  // screen coordinates
  // Sends the platform's help request (0x0053) with the record to the window.
  virtual void sendHelp(WindowHandle target, const HelpRequest& request) = 0;
};

// What a client uses. Absent parts: no platform dialog (the own one is used), no own dialog
// (DoModal fails), no framing (the dialog runs with the parent as owner), no help requests.
struct TaskDialogClientServices {
  IPlatformTaskDialog* platformDialog = nullptr;
  TaskDialogFunction ownDialog;
  IModalFraming* framing = nullptr;
  IHelpRequests* help = nullptr;
  ModuleHandle resourceModule = nullptr;  // the component's, for text and icon ids
};

// The services clients built without their own get; set once by the platform at start-up.
void installTaskDialogClientServices(TaskDialogClientServices services);
const TaskDialogClientServices& installedTaskDialogClientServices();

class CXTaskDialogMFCClient {
 public:
  explicit CXTaskDialogMFCClient(WindowHandle parent = nullptr);
  CXTaskDialogMFCClient(WindowHandle parent, TaskDialogClientServices services);
  virtual ~CXTaskDialogMFCClient();
  CXTaskDialogMFCClient(const CXTaskDialogMFCClient&) = delete;
  CXTaskDialogMFCClient& operator=(const CXTaskDialogMFCClient&) = delete;

  // dwFlags becomes add OR (dwFlags AND NOT remove).
  void ModifyFlags(std::uint32_t remove, std::uint32_t add);
  void SetWindowTitle(std::u16string_view title);
  void SetMainInstruction(std::u16string_view instruction, std::uint32_t helpPromptId = 0);
  // An icon resource id of the component, or a standard icon id; clears TDF_USE_HICON_MAIN.
  void SetMainIcon(std::uint16_t iconId);
  // The array is not copied: it must stay valid until DoModal returns. The default changes
  // only when defaultId is not 0.
  void SetButtons(const TASKDIALOG_BUTTON* buttons, std::uint32_t count, int defaultId = 0);
  void SetDefaultButton(int buttonId);

  ResultCode DoModal();

  // The answers of the last dialog that ran; 0, 0 and false before any.
  int GetSelectedButtonId() const { return selectedButton_; }
  int GetSelectedRadioButtonId() const { return selectedRadioButton_; }
  bool IsVerificationChecked() const { return verification_ != 0; }

  const TASKDIALOGCONFIG& request() const { return config_; }
  // The dialog's window from TDN_DIALOG_CONSTRUCTED until TDN_DESTROYED, none otherwise.
  WindowHandle windowHandle() const { return window_; }

 protected:
  virtual void OnDialogConstructed() {}
  virtual void OnCreated() {}
  // True keeps the dialog open.
  virtual bool OnButtonClicked(int buttonId);
  virtual void OnRadioButtonClicked(int radioButtonId);
  virtual void OnHyperlinkClicked(const std::u16string& target);
  virtual void OnExpandoButtonClicked(bool expanded);
  virtual void OnVerificationClicked(bool ticked);
  // Sends the platform's help request about the dialog to the parent.
  virtual void OnHelp();
  // Milliseconds since the dialog was created or the count last restarted; true restarts it.
  virtual bool OnTimer(std::uint32_t milliseconds);
  virtual void OnNavigated() {}
  virtual void OnDestroyed() {}

 private:
  static CallbackResult QUORLEX_TASK_DIALOG_CALLBACK notificationCallback(
      WindowHandle dialog, std::uint32_t notification, WParam wParam, LParam lParam,
      CallbackData client);
  CallbackResult dispatch(WindowHandle dialog, std::uint32_t notification, WParam wParam,
                          LParam lParam);
  ResultCode runFramed(const TaskDialogFunction& dialog);

  TaskDialogClientServices services_;
  TASKDIALOGCONFIG config_{};
  std::u16string windowTitle_;
  std::u16string mainInstruction_;
  int selectedButton_ = 0;
  int selectedRadioButton_ = 0;
  int verification_ = 0;
  std::uint32_t helpPromptId_ = 0;
  WindowHandle window_ = nullptr;
};

}  // namespace quorlex
