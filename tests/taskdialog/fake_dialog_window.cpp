#include "tests/taskdialog/fake_dialog_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "common/text.h"

namespace quorlex::test_support {
namespace {

std::string number(std::intptr_t value) { return std::to_string(value); }

std::string flag(bool value) { return value ? "1" : "0"; }

}  // namespace

std::string handleName(const void* handle) {
  if (handle == nullptr) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%zx", static_cast<std::size_t>(
                                              reinterpret_cast<std::uintptr_t>(handle)));
  return text;
}

FakeDialogWindow::FakeDialogWindow(const ReadTemplate& dialogTemplate) {
  client = {dialogTemplate.units.width, dialogTemplate.units.height};
  frame = {50, 40, 50 + client.width + 2 * frameWidth,
           40 + captionHeight + client.height + frameWidth};
  for (const ReadItem& item : dialogTemplate.items) {
    FakeControl c;
    c.className = item.className;
    c.style = item.style;
    c.rect = {item.units.x, item.units.y, item.units.x + item.units.width,
              item.units.y + item.units.height};
    c.visible = (item.style & windowStyle::visible) != 0;
    c.text = item.text;
    controls[item.id] = c;
  }
}

Rect FakeDialogWindow::clientRect() { return {0, 0, client.width, client.height}; }

int FakeDialogWindow::windowBottomInClient() { return client.height + frameWidth; }

void FakeDialogWindow::moveWindow(Point topLeft) {
  frame = frame.movedBy(topLeft.x - frame.left, topLeft.y - frame.top);
  log("move window " + number(topLeft.x) + "," + number(topLeft.y));
}

void FakeDialogWindow::resizeWindow(Size size) {
  frame.right = frame.left + size.width;
  frame.bottom = frame.top + size.height;
  client = {size.width - 2 * frameWidth, size.height - captionHeight - frameWidth};
  log("resize window " + number(size.width) + "x" + number(size.height));
}

void FakeDialogWindow::setWindowIcons(IconHandle small, IconHandle big) {
  log("window icons " + handleName(small) + " " + handleName(big));
}

bool FakeDialogWindow::postCommand(WParam wParam, LParam lParam) {
  log("post command " + number(static_cast<std::intptr_t>(wParam)) + " " + number(lParam));
  if (postSucceeds) postedCommands.emplace_back(wParam, lParam);
  return postSucceeds;
}

void FakeDialogWindow::endDialog(std::intptr_t value) {
  log("end " + number(value));
  endedWith = value;
}

std::uintptr_t FakeDialogWindow::startTimer(std::uintptr_t id, std::uint32_t periodMs) {
  log("start timer " + number(static_cast<std::intptr_t>(id)) + " " + number(periodMs));
  timers[id] = periodMs;
  return id;
}

void FakeDialogWindow::stopTimer(std::uintptr_t id) {
  log("stop timer " + number(static_cast<std::intptr_t>(id)));
  timers.erase(id);
}

FakeControl* FakeDialogWindow::find(int id) {
  const auto it = controls.find(id);
  return it == controls.end() ? nullptr : &it->second;
}

FakeControl& FakeDialogWindow::control(int id) {
  FakeControl* c = find(id);
  if (c == nullptr) {
    ADD_FAILURE() << "no control " << id;
    static FakeControl none;
    return none;
  }
  return *c;
}

Rect FakeDialogWindow::controlRect(int id) {
  FakeControl* c = find(id);
  return c != nullptr ? c->rect : Rect{};
}

void FakeDialogWindow::moveControl(int id, Point topLeft) {
  if (FakeControl* c = find(id)) {
    c->rect = c->rect.movedBy(topLeft.x - c->rect.left, topLeft.y - c->rect.top);
    log("move " + number(id) + " " + number(topLeft.x) + "," + number(topLeft.y));
  }
}

void FakeDialogWindow::showControl(int id, bool show) {
  if (FakeControl* c = find(id)) {
    c->visible = show;
    log((show ? "show " : "hide ") + number(id));
  }
}

void FakeDialogWindow::enableControl(int id, bool enable) {
  if (FakeControl* c = find(id)) {
    c->enabled = enable;
    log((enable ? "enable " : "disable ") + number(id));
  }
}

bool FakeDialogWindow::isChecked(int id) {
  FakeControl* c = find(id);
  return c != nullptr && c->checked;
}

void FakeDialogWindow::setChecked(int id, bool checked) {
  if (FakeControl* c = find(id)) {
    c->checked = checked;
    log("check " + number(id) + " " + flag(checked));
  }
}

void FakeDialogWindow::setControlText(int id, std::u16string_view text) {
  if (FakeControl* c = find(id)) {
    c->text = std::u16string(text);
    log("text " + number(id) + " " + toUtf8(text));
  }
}

void FakeDialogWindow::setControlFont(int id, FontHandle font) {
  if (FakeControl* c = find(id)) {
    c->font = font;
    log("font " + number(id) + " " + handleName(font));
  }
}

void FakeDialogWindow::setFocus(int id) {
  if (find(id) == nullptr) return;
  focus = id;
  log("focus " + number(id));
}

void FakeDialogWindow::invalidateControl(int id) {
  if (find(id) != nullptr) log("invalidate " + number(id));
}

void FakeDialogWindow::setButtonImage(int id, IconHandle icon) {
  if (FakeControl* c = find(id)) {
    c->image = icon;
    log("image " + number(id) + " " + handleName(icon));
  }
}

void FakeDialogWindow::setMarqueeStyle(int id, bool on) {
  if (FakeControl* c = find(id)) {
    c->style = on ? (c->style | windowStyle::marquee) : (c->style & ~windowStyle::marquee);
    log("marquee style " + number(id) + " " + flag(on));
  }
}

void FakeDialogWindow::startMarquee(int id, std::uint32_t periodMs) {
  if (find(id) != nullptr) log("marquee " + number(id) + " " + number(periodMs));
}

LResult FakeDialogWindow::setProgressState(int id, WParam state) {
  if (find(id) == nullptr) return 0;
  log("progress state " + number(static_cast<std::intptr_t>(state)));
  return 1;
}

LResult FakeDialogWindow::setProgressRange(int id, LParam range) {
  if (find(id) == nullptr) return 0;
  log("progress range " + number(range));
  return std::exchange(progressRange, range);
}

LResult FakeDialogWindow::setProgressPosition(int id, WParam position) {
  if (find(id) == nullptr) return 0;
  log("progress position " + number(static_cast<std::intptr_t>(position)));
  return std::exchange(progressPosition, static_cast<LResult>(position));
}

bool FakeDialogWindow::attachAs(int id, const char* kind, const void* object) {
  FakeControl* c = find(id);
  if (c == nullptr) return false;
  c->subclass = kind;
  c->subclassObject = object;
  log(std::string("attach ") + kind + " " + number(id));
  return true;
}

bool FakeDialogWindow::attach(int id, CXTaskDialogStatic& subclass) {
  return attachAs(id, "static", &subclass);
}
bool FakeDialogWindow::attach(int id, CXTaskDialogIconStatic& subclass) {
  return attachAs(id, "icon", &subclass);
}
bool FakeDialogWindow::attach(int id, CXTaskDialogButton& subclass) {
  return attachAs(id, "button", &subclass);
}
bool FakeDialogWindow::attach(int id, CXTaskDialogCommandLink& subclass) {
  return attachAs(id, "link", &subclass);
}

bool FakeDialogWindow::contains(const std::string& line) const {
  return indexOf(line) != std::string::npos;
}

std::size_t FakeDialogWindow::indexOf(const std::string& line) const {
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i] == line) return i;
  }
  return std::string::npos;
}

}  // namespace quorlex::test_support
