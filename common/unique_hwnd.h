#pragma once
// The one owner of a top-level window: destroyed, with its children, when the owner goes.
// Child windows need none; their parent takes them along.

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_hwnd {
 public:
  unique_hwnd() = default;
  explicit unique_hwnd(HWND window) : window_(window) {}
  unique_hwnd(const unique_hwnd&) = delete;
  unique_hwnd& operator=(const unique_hwnd&) = delete;
  unique_hwnd(unique_hwnd&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
  unique_hwnd& operator=(unique_hwnd&& other) noexcept {
    if (this != &other) reset(std::exchange(other.window_, nullptr));
    return *this;
  }
  ~unique_hwnd() { reset(); }

  void reset(HWND window = nullptr) {
    if (HWND old = std::exchange(window_, window); old && IsWindow(old)) (void)DestroyWindow(old);
  }
  HWND get() const { return window_; }
  explicit operator bool() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};

}  // namespace quorlex
