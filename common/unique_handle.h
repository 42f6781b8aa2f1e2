#pragma once
// The one owner of a kernel handle (process, thread, event, file).

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_handle {
 public:
  unique_handle() = default;
  explicit unique_handle(HANDLE handle) : handle_(handle) {}
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  unique_handle& operator=(unique_handle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~unique_handle() { reset(); }

  // Keeps the thread's last error across the close, so a caller can still read it.
  void reset() {
    if (HANDLE old = std::exchange(handle_, nullptr); old && old != INVALID_HANDLE_VALUE) {
      DWORD error = GetLastError();
      (void)CloseHandle(old);
      SetLastError(error);
    }
  }
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE* put() {
    reset();
    return &handle_;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace quorlex
