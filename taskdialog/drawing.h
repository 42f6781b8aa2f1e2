#pragma once
// What the task dialog draws and measures with: pixel geometry, colours, opaque handles of the
// platform's drawing objects, text-format flags, and the two operations interfaces the platform
// implements over a device context (measuring text, painting).

#include <cstdint>
#include <string_view>

#include "taskdialog/task_dialog_request.h"

namespace quorlex {

// Platform colour values, 0x00BBGGRR.
using Colour = std::uint32_t;

inline constexpr Colour white = 0xFFFFFF;
inline constexpr Colour bandGrey = 0xF0F0F0;
inline constexpr Colour lineColour = 0xE9E9E9;
inline constexpr Colour instructionBlue = 0x993300;

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left and top inside, right and bottom outside, as the platform counts.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  Rect shrunk(int dx, int dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
  Rect movedBy(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct PlatformFont;
struct PlatformBrush;
struct PlatformPen;
using FontHandle = PlatformFont*;
using BrushHandle = PlatformBrush*;
using PenHandle = PlatformPen*;

// Text-format flags, with the platform's values.
namespace textFormat {
inline constexpr std::uint32_t wordBreak = 0x0010;
inline constexpr std::uint32_t singleLine = 0x0020;
inline constexpr std::uint32_t expandTabs = 0x0040;
inline constexpr std::uint32_t noPrefix = 0x0800;
inline constexpr std::uint32_t hidePrefix = 0x00100000;  // "&" processed, but not underlined
}  // namespace textFormat

struct TextSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const TextSize&, const TextSize&) = default;
};

// Measuring on a display device context: the size in pixels a text takes in a font when laid
// out in a rectangle widthLimit pixels wide with the given format flags.
class ITextMeasurer {
 public:
  virtual ~ITextMeasurer() = default;
  virtual TextSize measure(FontHandle font, std::u16string_view text, int widthLimit,
                           std::uint32_t format) = 0;
};

// Drawing on a control's or the dialog's device context.
class IPainter {
 public:
  virtual ~IPainter() = default;
  virtual void fillRect(const Rect& rect, Colour colour) = 0;
  virtual void selectHollowBrush() = 0;
  virtual void selectPen(PenHandle pen) = 0;
  // An outline with the selected pen and brush; the corners are arcs of an ellipse this size.
  virtual void roundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) = 0;
  virtual void drawFocusRect(const Rect& rect) = 0;
  virtual void drawIcon(IconHandle icon, const Rect& rect) = 0;  // in the normal drawing mode
  virtual void selectFont(FontHandle font) = 0;
  // The size the text takes with the selected font in the rectangle's width.
  virtual TextSize measureText(std::u16string_view text, const Rect& within,
                               std::uint32_t format) = 0;
  virtual void drawText(std::u16string_view text, const Rect& rect, std::uint32_t format) = 0;
  virtual void setTextColour(Colour colour) = 0;
  virtual void setBackgroundColour(Colour colour) = 0;
  virtual void setTransparentBackground() = 0;
  // Puts back the brush, pen and font that were selected before the first selection.
  virtual void restoreSelections() = 0;
  // The platform's border width and height in pixels.
  virtual Size borderSize() = 0;
};

}  // namespace quorlex
