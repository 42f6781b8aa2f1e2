#pragma once
// The one owner of a library loaded with LoadLibrary.

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_hmodule {
 public:
  unique_hmodule() = default;
  explicit unique_hmodule(HMODULE module) : module_(module) {}
  unique_hmodule(const unique_hmodule&) = delete;
  unique_hmodule& operator=(const unique_hmodule&) = delete;
  unique_hmodule(unique_hmodule&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  unique_hmodule& operator=(unique_hmodule&& other) noexcept {
    if (this != &other) {
      reset();
      module_ = std::exchange(other.module_, nullptr);
    }
    return *this;
  }
  ~unique_hmodule() { reset(); }

  // Keeps the thread's last error across the unload, so a caller can still read it.
  void reset() {
    if (HMODULE old = std::exchange(module_, nullptr)) {
      DWORD error = GetLastError();
      (void)FreeLibrary(old);
      SetLastError(error);
    }
  }
  HMODULE get() const { return module_; }
  explicit operator bool() const { return module_ != nullptr; }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace quorlex
