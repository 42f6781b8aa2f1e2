#pragma once
// The one owner of a window it created: destroyed with the owner, unless released to the
// window's parent, which destroys its children.

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
    if (this != &other) {
      reset();
      window_ = std::exchange(other.window_, nullptr);
    }
    return *this;
  }
  ~unique_hwnd() { reset(); }

  void reset() {
    if (HWND old = std::exchange(window_, nullptr); old && IsWindow(old)) (void)DestroyWindow(old);
  }
  HWND release() { return std::exchange(window_, nullptr); }
  HWND get() const { return window_; }
  explicit operator bool() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};

}  // namespace quorlex
