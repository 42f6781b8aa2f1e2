#pragma once
// Owners of GDI objects and device contexts: a font, bitmap, brush or pen deleted once; a
// memory device context deleted; a window's device context released; an object selected
// into a device context for one scope, the previous one put back.

#include <windows.h>

#include <utility>

namespace quorlex {

template <class Object>
class unique_gdi {
 public:
  unique_gdi() = default;
  explicit unique_gdi(Object object) : object_(object) {}
  unique_gdi(const unique_gdi&) = delete;
  unique_gdi& operator=(const unique_gdi&) = delete;
  unique_gdi(unique_gdi&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  unique_gdi& operator=(unique_gdi&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  ~unique_gdi() { reset(); }

  void reset(Object object = nullptr) {
    if (Object old = std::exchange(object_, object)) (void)DeleteObject(old);
  }
  Object get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  Object object_ = nullptr;
};

using unique_hfont = unique_gdi<HFONT>;
using unique_hbitmap = unique_gdi<HBITMAP>;

// A memory device context of CreateCompatibleDC.
class unique_memory_dc {
 public:
  explicit unique_memory_dc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  unique_memory_dc(const unique_memory_dc&) = delete;
  unique_memory_dc& operator=(const unique_memory_dc&) = delete;
  ~unique_memory_dc() {
    if (dc_) (void)DeleteDC(dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// A window's (or, for none, the screen's) device context of GetDC.
class window_dc {
 public:
  explicit window_dc(HWND window) : window_(window), dc_(GetDC(window)) {}
  window_dc(const window_dc&) = delete;
  window_dc& operator=(const window_dc&) = delete;
  ~window_dc() {
    if (dc_) (void)ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class paint_scope {
 public:
  explicit paint_scope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  paint_scope(const paint_scope&) = delete;
  paint_scope& operator=(const paint_scope&) = delete;
  ~paint_scope() { (void)EndPaint(window_, &paint_); }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

class selected_object {
 public:
  selected_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  selected_object(const selected_object&) = delete;
  selected_object& operator=(const selected_object&) = delete;
  ~selected_object() {
    if (previous_ && previous_ != HGDI_ERROR) (void)SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace quorlex
