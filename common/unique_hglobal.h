#pragma once
// The one owner of a block of global memory from GlobalAlloc.

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_hglobal {
 public:
  unique_hglobal() = default;
  explicit unique_hglobal(HGLOBAL block) : block_(block) {}
  unique_hglobal(const unique_hglobal&) = delete;
  unique_hglobal& operator=(const unique_hglobal&) = delete;
  unique_hglobal(unique_hglobal&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  unique_hglobal& operator=(unique_hglobal&& other) noexcept {
    if (this != &other) {
      reset();
      block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
  }
  ~unique_hglobal() { reset(); }

  void reset() {
    if (HGLOBAL old = std::exchange(block_, nullptr)) {
      DWORD error = GetLastError();
      (void)GlobalFree(old);
      SetLastError(error);
    }
  }
  HGLOBAL get() const { return block_; }
  explicit operator bool() const { return block_ != nullptr; }

 private:
  HGLOBAL block_ = nullptr;
};

}  // namespace quorlex
