#pragma once
// The one owner of an open registry key.

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_hkey {
 public:
  unique_hkey() = default;
  unique_hkey(const unique_hkey&) = delete;
  unique_hkey& operator=(const unique_hkey&) = delete;
  unique_hkey(unique_hkey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  unique_hkey& operator=(unique_hkey&& other) noexcept {
    if (this != &other) {
      reset();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  ~unique_hkey() { reset(); }

  void reset() {
    if (HKEY old = std::exchange(key_, nullptr)) (void)RegCloseKey(old);
  }
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  HKEY* put() {
    reset();
    return &key_;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace quorlex
