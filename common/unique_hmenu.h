#pragma once
// The one owner of a menu of LoadMenu or CreatePopupMenu. A submenu handed to its parent
// menu (AppendMenu with MF_POPUP) is released, since the parent destroys it.

#include <windows.h>

#include <utility>

namespace quorlex {

class unique_hmenu {
 public:
  unique_hmenu() = default;
  explicit unique_hmenu(HMENU menu) : menu_(menu) {}
  unique_hmenu(const unique_hmenu&) = delete;
  unique_hmenu& operator=(const unique_hmenu&) = delete;
  unique_hmenu(unique_hmenu&& other) noexcept : menu_(std::exchange(other.menu_, nullptr)) {}
  unique_hmenu& operator=(unique_hmenu&& other) noexcept {
    if (this != &other) {
      reset();
      menu_ = std::exchange(other.menu_, nullptr);
    }
    return *this;
  }
  ~unique_hmenu() { reset(); }

  void reset() {
    if (HMENU old = std::exchange(menu_, nullptr)) (void)DestroyMenu(old);
  }
  HMENU release() { return std::exchange(menu_, nullptr); }
  HMENU get() const { return menu_; }
  explicit operator bool() const { return menu_ != nullptr; }

 private:
  HMENU menu_ = nullptr;
};

}  // namespace quorlex
