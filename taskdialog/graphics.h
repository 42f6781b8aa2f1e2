#pragma once
// Making and releasing the platform's drawing objects, and the one owner type for them.

#include <cstdint>
#include <utility>

#include "taskdialog/drawing.h"

namespace quorlex {

class IGraphics {
 public:
  virtual ~IGraphics() = default;
  // Each gives none on failure, with the platform's last error set.
  virtual BrushHandle createSolidBrush(Colour colour) = 0;
  virtual PenHandle createSolidPen(Colour colour, int width) = 0;
  // The message font of the platform's non-client metrics, with this height.
  virtual FontHandle createMessageFont(std::int32_t height) = 0;
  virtual IconHandle copyIcon(IconHandle icon) = 0;
  virtual void release(BrushHandle brush) = 0;
  virtual void release(PenHandle pen) = 0;
  virtual void release(FontHandle font) = 0;
  virtual void release(IconHandle icon) = 0;
};

// Owns one drawing object and releases it through the graphics that made it.
template <class Handle>
class Owned {
 public:
  Owned() = default;
  Owned(IGraphics& graphics, Handle handle) : graphics_(&graphics), handle_(handle) {}
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept
      : graphics_(other.graphics_), handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      reset();
      graphics_ = other.graphics_;
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~Owned() { reset(); }

  void reset() {
    if (handle_ != nullptr) graphics_->release(std::exchange(handle_, nullptr));
  }
  Handle get() const { return handle_; }
  // Where the handle lives: controls that draw it keep this address, so that a replaced
  // object shows at their next repaint.
  const Handle* address() const { return &handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  IGraphics* graphics_ = nullptr;
  Handle handle_ = nullptr;
};

using OwnedBrush = Owned<BrushHandle>;
using OwnedPen = Owned<PenHandle>;
using OwnedFont = Owned<FontHandle>;
using OwnedIcon = Owned<IconHandle>;

}  // namespace quorlex
