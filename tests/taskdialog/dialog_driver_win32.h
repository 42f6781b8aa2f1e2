#pragma once
// Driving a task dialog on screen as a person would, from the test's thread while the dialog's
// modal loop runs on a thread of its own: finding it and its controls, clicking, reading pixels,
// and saving screenshots.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "taskdialog/drawing.h"

namespace quorlex::test_support {

// Runs one modal dialog on its own thread; the destructor waits for it to end, ending it when
// a failed test left it open.
class DialogThread {
 public:
  explicit DialogThread(std::function<void()> run);
  ~DialogThread();
  DialogThread(const DialogThread&) = delete;
  DialogThread& operator=(const DialogThread&) = delete;

  // The thread's visible top-level window with this title, waiting up to a few seconds; none
  // when it does not appear.
  HWND waitForWindow(const std::wstring& title);
  // Waits until the thread has ended (the dialog closed); false after a few seconds.
  bool waitForEnd();

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
  HANDLE started_ = nullptr;
  HANDLE ended_ = nullptr;
};

void pause(int milliseconds);
// Lets the dialog's thread paint what is invalid.
void settle(HWND window);

// A child window by class and text, none when there is none.
HWND findChild(HWND dialog, const std::wstring& className, const std::wstring& text);
std::wstring windowText(HWND window);
// A control's rectangle in its dialog's client coordinates.
Rect rectInClient(HWND dialog, HWND control);
// The height in pixels of the font a control was given.
int fontHeight(HWND control);

// Posted, as the platform's own input would arrive.
void click(HWND button);
void pressKey(HWND dialog, UINT key);  // to the control that has the focus

// The screen's pixels, as 0x00BBGGRR values.
class ScreenCapture {
 public:
  // The window's rectangle (frame included) or its client area.
  static ScreenCapture ofWindow(HWND window);
  static ScreenCapture ofClient(HWND window);
  Colour at(int x, int y) const;  // relative to the captured rectangle
  int width() const { return width_; }
  int height() const { return height_; }
  // How many pixels of the rectangle have this colour.
  int count(const Rect& within, Colour colour) const;
  // Writes the capture as PNG; whether it was written.
  bool savePng(const std::wstring& path) const;

 private:
  static ScreenCapture of(const RECT& screen);
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // top-down, 0x00RRGGBB as GDI stores them
};

// The folder screenshots go to (created when missing).
std::wstring screenshotPath(const std::wstring& name);

}  // namespace quorlex::test_support
