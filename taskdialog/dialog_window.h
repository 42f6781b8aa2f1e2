#pragma once
// The own dialog's window as its behaviour sees it, a control window as a command link sees it,
// and the messages the platform's dialog procedure hands to the dialog.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "taskdialog/drawing.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

class CXTaskDialogStatic;
class CXTaskDialogIconStatic;
class CXTaskDialogButton;
class CXTaskDialogCommandLink;

using LResult = LParam;

// The dialog window and its controls. Controls are named by their ids; an id that names no
// control makes an operation do nothing (and a query answer false, an empty rectangle or 0).
class IDialogWindow {
 public:
  virtual ~IDialogWindow() = default;
  virtual WindowHandle handle() = 0;

  virtual Rect windowRect() = 0;  // screen coordinates
  virtual Rect clientRect() = 0;  // client coordinates, from (0, 0)
  // The bottom edge of the whole window (frame included) in client coordinates.
  virtual int windowBottomInClient() = 0;
  // Without activation or z-order change; moving keeps the size, resizing the top-left corner
  // and does not copy the old client area.
  virtual void moveWindow(Point topLeft) = 0;
  virtual void resizeWindow(Size size) = 0;
  virtual void invalidate() = 0;  // the whole window, background erased
  virtual void updateNow() = 0;   // paints what is invalid before returning
  virtual void disableCloseMenuItem() = 0;
  virtual void setWindowIcons(IconHandle small, IconHandle big) = 0;
  // Posts a command message; whether the posting succeeded.
  virtual bool postCommand(WParam wParam, LParam lParam) = 0;
  // Posts a close request, which the platform's dialog handling turns into the command of id 2.
  virtual void postClose() = 0;
  virtual void endDialog(std::intptr_t value) = 0;
  // A window timer; the id it runs under, 0 when it could not be started.
  virtual std::uintptr_t startTimer(std::uintptr_t id, std::uint32_t periodMs) = 0;
  virtual void stopTimer(std::uintptr_t id) = 0;

  virtual bool hasControl(int id) = 0;
  virtual Rect controlRect(int id) = 0;  // client coordinates
  virtual void moveControl(int id, Point topLeft) = 0;  // size kept
  virtual void showControl(int id, bool show) = 0;
  virtual void enableControl(int id, bool enable) = 0;
  virtual bool isChecked(int id) = 0;
  virtual void setChecked(int id, bool checked) = 0;
  virtual void setControlText(int id, std::u16string_view text) = 0;
  virtual void setControlFont(int id, FontHandle font) = 0;
  virtual void setFocus(int id) = 0;
  virtual void invalidateControl(int id) = 0;
  // A button's icon image; none removes it.
  virtual void setButtonImage(int id, IconHandle icon) = 0;

  // The progress bar.
  virtual void setMarqueeStyle(int id, bool on) = 0;
  virtual void startMarquee(int id, std::uint32_t periodMs) = 0;
  virtual LResult setProgressState(int id, WParam state) = 0;
  virtual LResult setProgressRange(int id, LParam range) = 0;  // the previous range
  virtual LResult setProgressPosition(int id, WParam position) = 0;  // the previous position

  // Subclasses the control: from now on its messages of the subclass's kind go to the object,
  // which outlives the window. Whether the control could be subclassed.
  virtual bool attach(int id, CXTaskDialogStatic& subclass) = 0;
  virtual bool attach(int id, CXTaskDialogIconStatic& subclass) = 0;
  virtual bool attach(int id, CXTaskDialogButton& subclass) = 0;
  virtual bool attach(int id, CXTaskDialogCommandLink& subclass) = 0;
};

// A subclassed button as its command-link object sees it.
class IControlWindow {
 public:
  virtual ~IControlWindow() = default;
  virtual std::u16string text() = 0;
  virtual IconHandle image() = 0;  // the button's icon image, none when it has none
  virtual void setImage(IconHandle icon) = 0;
  virtual void invalidate(bool erase) = 0;
  // Requests a leave notification (with this hover time); whether the request succeeded.
  virtual bool trackMouseLeave(std::uint32_t hoverMs) = 0;
  virtual std::uint32_t uiState() = 0;  // 0x1 hides focus rectangles, 0x2 mnemonic underlines
};

inline constexpr std::uint32_t uiStateHideFocus = 0x1;
inline constexpr std::uint32_t uiStateHideAccelerators = 0x2;

// The dialog's side of its window procedure. The platform reflects the notifications of the
// controls (colour requests, draw requests and the like) back to the control that sent them;
// only these messages are the dialog's own.
class IDialogMessages {
 public:
  virtual ~IDialogMessages() = default;
  // The first message. The answer is 0: the dialog sets the focus itself.
  virtual LResult onInitDialog(IDialogWindow& window) = 0;
  virtual void onCommand(WParam wParam, LParam lParam) = 0;
  virtual void onTimer(WParam timerId) = 0;
  // Background erase request; the answer is 1.
  virtual LResult onEraseBackground(IPainter& painter) = 0;
  virtual void onHelp() = 0;
  // A click notification (code −2) from a control; for the hyperlink controls linkTarget is the
  // address of the clicked link's target text (the link record's address field).
  virtual void onClick(LParam linkTarget) = 0;
  virtual void onDestroy() = 0;
  // The task-dialog messages (1125 to 1140); none for one the dialog does not handle.
  virtual std::optional<LResult> onTaskDialogMessage(std::uint32_t message, WParam wParam,
                                                     LParam lParam) = 0;
};

}  // namespace quorlex
