#pragma once
// Driving real windows from another thread or process, as a person would: windows found by
// caption, class and control id, texts typed and read, buttons clicked, keys pressed; and a
// window's picture (with its open menus) saved under the build's screenshots folder.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace quorlex::test_support {

using namespace std::chrono_literals;

// Polls until the condition holds; false when it did not within the time.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// A visible top-level window with that caption (and class, when given); none after the time.
HWND waitForWindow(const std::wstring& caption, const wchar_t* className = nullptr,
                   std::chrono::milliseconds timeout = 10s);
// A visible top-level window of that class owned by owner; none after the time.
HWND waitForOwnedWindow(HWND owner, const wchar_t* className, std::chrono::milliseconds timeout = 10s);
// Waits until the window is gone.
bool waitForClose(HWND window, std::chrono::milliseconds timeout = 10s);

// The visible descendant with that control id, or none.
HWND visibleControl(HWND top, int controlId);
// The first descendant of that class, or none.
HWND descendantOfClass(HWND top, const wchar_t* className);

std::wstring windowText(HWND window);
void setWindowText(HWND window, const std::wstring& text);
// Typed one character at a time, as the keyboard would (the edit box's limit applies).
void typeCharacters(HWND window, const std::wstring& text);
// Posted, so that a click that opens a modal window does not block the caller.
void click(HWND button);
// A key press with modifiers through the system's input queue: it reaches the foreground
// window's thread, with the modifier keys down for GetKeyState.
void pressKey(WORD key, bool control = false, bool shift = false);
// The focus of the thread that owns the window.
HWND focusOf(HWND window);

// The window as on the screen, with the process's open popup menus, as name (a PNG) in the
// build's screenshots folder. On a thread with a COM apartment.
bool saveScreenshot(HWND window, const std::wstring& name);

}  // namespace quorlex::test_support
