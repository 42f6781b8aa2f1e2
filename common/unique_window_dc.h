#pragma once
// The one owner of a window's device context from GetDC (the display's for no window).

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_window_dc {
 public:
  unique_window_dc() = default;
  unique_window_dc(HWND window, HDC dc) : window_(window), dc_(dc) {}
  unique_window_dc(const unique_window_dc&) = delete;
  unique_window_dc& operator=(const unique_window_dc&) = delete;
  unique_window_dc(unique_window_dc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  unique_window_dc& operator=(unique_window_dc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  ~unique_window_dc() { reset(); }

  void reset() {
    if (HDC old = std::exchange(dc_, nullptr)) (void)ReleaseDC(std::exchange(window_, nullptr), old);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

}  // namespace quorlex
