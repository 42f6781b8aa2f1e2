#pragma once
// A dialog window made from the controls of a dialog template (read back with base units 4 and 8,
// so that dialog units are pixels). Every operation is recorded as one line of text, in order.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "taskdialog/dialog_window.h"
#include "tests/taskdialog/dialog_template_reader.h"

namespace quorlex::test_support {

struct FakeControl {
  std::u16string className;
  std::uint32_t style = 0;
  Rect rect;
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  std::u16string text;
  FontHandle font = nullptr;
  IconHandle image = nullptr;
  std::string subclass;  // the kind of subclass attached, empty for none
  const void* subclassObject = nullptr;
};

inline constexpr int frameWidth = 3;
inline constexpr int captionHeight = 22;

class FakeDialogWindow : public IDialogWindow {
 public:
  explicit FakeDialogWindow(const ReadTemplate& dialogTemplate);

  WindowHandle handle() override { return reinterpret_cast<WindowHandle>(0xD1A1); }
  Rect windowRect() override { return frame; }
  Rect clientRect() override;
  int windowBottomInClient() override;
  void moveWindow(Point topLeft) override;
  void resizeWindow(Size size) override;
  void invalidate() override { log("invalidate"); }
  void updateNow() override { log("update"); }
  void disableCloseMenuItem() override { log("close menu item greyed"); }
  void setWindowIcons(IconHandle small, IconHandle big) override;
  bool postCommand(WParam wParam, LParam lParam) override;
  void postClose() override { log("post close"); }
  void endDialog(std::intptr_t value) override;
  std::uintptr_t startTimer(std::uintptr_t id, std::uint32_t periodMs) override;
  void stopTimer(std::uintptr_t id) override;

  bool hasControl(int id) override { return find(id) != nullptr; }
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

  FakeControl* find(int id);
  FakeControl& control(int id);  // fails the test when there is none
  bool contains(const std::string& line) const;
  std::size_t indexOf(const std::string& line) const;  // npos when absent
  void clearLog() { events.clear(); }

  Rect frame;
  Size client;
  std::map<int, FakeControl> controls;
  std::vector<std::string> events;
  std::map<std::uintptr_t, std::uint32_t> timers;
  std::vector<std::pair<WParam, LParam>> postedCommands;
  std::optional<std::intptr_t> endedWith;
  int focus = -1;
  bool postSucceeds = true;
  LResult progressRange = 0x640000;  // 0 to 100
  LResult progressPosition = 0;

 private:
  void log(std::string line) { events.push_back(std::move(line)); }
  bool attachAs(int id, const char* kind, const void* object);
};

// Name of a handle for the log: its number in hexadecimal, "none" for none.
std::string handleName(const void* handle);

}  // namespace quorlex::test_support
