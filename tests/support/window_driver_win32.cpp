#include "tests/support/window_driver_win32.h"

#include <optional>
#include <thread>
#include <vector>

#include "tests/support/screen_capture_win32.h"

namespace quorlex::test_support {

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

namespace {

struct TopSearch {
  const std::wstring* caption = nullptr;
  const wchar_t* className = nullptr;
  HWND owner = nullptr;
  HWND found = nullptr;
};

bool hasClass(HWND window, const wchar_t* className) {
  wchar_t name[64] = {};
  (void)GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return lstrcmpiW(name, className) == 0;
}

BOOL CALLBACK matchTop(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TopSearch*>(data);
  if (!IsWindowVisible(window)) return TRUE;
  if (search.caption && windowText(window) != *search.caption) return TRUE;
  if (search.className && !hasClass(window, search.className)) return TRUE;
  if (search.owner && GetWindow(window, GW_OWNER) != search.owner) return TRUE;
  search.found = window;
  return FALSE;
}

HWND waitForTop(TopSearch search, std::chrono::milliseconds timeout) {
  (void)waitUntil(
      [&] {
        search.found = nullptr;
        (void)EnumWindows(&matchTop, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeout);
  return search.found;
}

struct ChildSearch {
  int id = 0;
  const wchar_t* className = nullptr;
  HWND found = nullptr;
};

BOOL CALLBACK matchChild(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ChildSearch*>(data);
  bool matches = search.className ? hasClass(window, search.className)
                                  : GetDlgCtrlID(window) == search.id && IsWindowVisible(window);
  if (!matches) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND waitForWindow(const std::wstring& caption, const wchar_t* className, std::chrono::milliseconds timeout) {
  TopSearch search;
  search.caption = &caption;
  search.className = className;
  return waitForTop(search, timeout);
}

HWND waitForOwnedWindow(HWND owner, const wchar_t* className, std::chrono::milliseconds timeout) {
  TopSearch search;
  search.className = className;
  search.owner = owner;
  return waitForTop(search, timeout);
}

bool waitForClose(HWND window, std::chrono::milliseconds timeout) {
  return waitUntil([&] { return !IsWindow(window); }, timeout);
}

HWND visibleControl(HWND top, int controlId) {
  ChildSearch search;
  search.id = controlId;
  (void)EnumChildWindows(top, &matchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND descendantOfClass(HWND top, const wchar_t* className) {
  ChildSearch search;
  search.className = className;
  (void)EnumChildWindows(top, &matchChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring windowText(HWND window) {
  std::wstring text(512, L'\0');
  auto length = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void setWindowText(HWND window, const std::wstring& text) {
  (void)SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void typeCharacters(HWND window, const std::wstring& text) {
  for (wchar_t character : text) (void)SendMessageW(window, WM_CHAR, character, 1);
}

void click(HWND button) { (void)PostMessageW(button, BM_CLICK, 0, 0); }

void pressKey(WORD key, bool control, bool shift) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (control) add(VK_CONTROL, false);
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  if (control) add(VK_CONTROL, true);
  (void)SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND focusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool saveScreenshot(HWND window, const std::wstring& name) {
  std::optional<CapturedImage> image = captureScreen(windowWithMenus(window));
  return image && savePng(*image, screenshotFolder() + L"\\" + name);
}

}  // namespace quorlex::test_support
