#pragma once
// The own dialog's window and controls as its behaviour sees them (IDialogWindow), over the
// dialog's HWND; its four control subclasses are attached with window subclassing, answer their
// messages through the portable subclass objects and detach themselves when the control goes.

#include <windows.h>

#include "taskdialog/dialog_window.h"

namespace quorlex {

class Win32DialogWindow final : public IDialogWindow {
 public:
  explicit Win32DialogWindow(HWND dialog) : dialog_(dialog) {}

  WindowHandle handle() override { return dialog_; }
  Rect windowRect() override;
  Rect clientRect() override;
  int windowBottomInClient() override;
  void moveWindow(Point topLeft) override;
  void resizeWindow(Size size) override;
  void invalidate() override;
  void updateNow() override;
  void disableCloseMenuItem() override;
  void setWindowIcons(IconHandle small, IconHandle big) override;
  bool postCommand(WParam wParam, LParam lParam) override;
  void postClose() override;
  void endDialog(std::intptr_t value) override;
  std::uintptr_t startTimer(std::uintptr_t id, std::uint32_t periodMs) override;
  void stopTimer(std::uintptr_t id) override;

  bool hasControl(int id) override { return control(id) != nullptr; }
  Rect controlRect(int id) override;
  void moveControl(int id, Point topLeft) override;
  void showControl(int id, bool show) override;
  void enableControl(int id, bool enable) override;
  bool isChecked(int id) override;
  void setChecked(int id, bool checked) override;
  void setControlText(int id, std::u16string_view text) override;
  void setControlFont(int id, FontHandle font) override;
  void setFocus(int id) override;
  void invalidateControl(int id) override;
  void setButtonImage(int id, IconHandle icon) override;

  void setMarqueeStyle(int id, bool on) override;
  void startMarquee(int id, std::uint32_t periodMs) override;
  LResult setProgressState(int id, WParam state) override;
  LResult setProgressRange(int id, LParam range) override;
  LResult setProgressPosition(int id, WParam position) override;

  bool attach(int id, CXTaskDialogStatic& subclass) override;
  bool attach(int id, CXTaskDialogIconStatic& subclass) override;
  bool attach(int id, CXTaskDialogButton& subclass) override;
  bool attach(int id, CXTaskDialogCommandLink& subclass) override;

 private:
  HWND control(int id) const { return GetDlgItem(dialog_, id); }
  LResult sendToControl(int id, UINT message, WPARAM wParam, LPARAM lParam);

  HWND dialog_;
};

// A subclassed button as its command-link object sees it.
class Win32ControlWindow final : public IControlWindow {
 public:
  explicit Win32ControlWindow(HWND control) : control_(control) {}

  std::u16string text() override;
  IconHandle image() override;
  void setImage(IconHandle icon) override;
  void invalidate(bool erase) override;
  bool trackMouseLeave(std::uint32_t hoverMs) override;
  std::uint32_t uiState() override;

 private:
  HWND control_;
};

// The platform's numbers for a reflected notification: the notification's own plus 0x2000.
inline constexpr UINT reflectedMessageOffset = 0x2000;

}  // namespace quorlex
