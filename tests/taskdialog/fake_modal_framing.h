#pragma once
// The windowing side of the modal framing in memory: windows with an enabled state, a top-level
// window each, a process, and help-prompt contexts; every call recorded in order.

#include <map>
#include <string>
#include <vector>

#include "taskdialog/modal_framing.h"

namespace quorlex::test_support {

inline WindowHandle fakeWindow(std::uintptr_t number) {
  return reinterpret_cast<WindowHandle>(number);
}

class FakeModalFraming : public IModalFraming {
 public:
  struct Window {
    WindowHandle topLevel = nullptr;
    bool enabled = true;
    bool ourProcess = true;
    bool answersHelpPrompt = true;
    std::uint32_t helpPromptContext = 0;
  };

  void enableModelessWindows(bool enable) override {
    events.push_back(enable ? "modeless enabled" : "modeless disabled");
  }
  WindowHandle safeOwner(WindowHandle parent) override {
    return parent != nullptr ? parent : mainWindowPopup;
  }
  WindowHandle topLevelWindow(WindowHandle window) override {
    const auto it = windows.find(window);
    return it != windows.end() && it->second.topLevel != nullptr ? it->second.topLevel : window;
  }
  bool isWindowEnabled(WindowHandle window) override { return windows[window].enabled; }
  void enableWindow(WindowHandle window, bool enable) override {
    windows[window].enabled = enable;
    events.push_back(std::string(enable ? "enable " : "disable ") +
                     std::to_string(reinterpret_cast<std::uintptr_t>(window)));
  }
  bool belongsToCurrentProcess(WindowHandle window) override {
    return windows[window].ourProcess;
  }
  std::uint32_t* helpPromptContextOf(WindowHandle window) override {
    Window& w = windows[window];
    return w.answersHelpPrompt ? &w.helpPromptContext : nullptr;
  }
  std::uint32_t* applicationHelpPromptContext() override { return &applicationContext; }

  std::map<WindowHandle, Window> windows;
  WindowHandle mainWindowPopup = nullptr;
  std::uint32_t applicationContext = 0;
  std::vector<std::string> events;
};

}  // namespace quorlex::test_support
