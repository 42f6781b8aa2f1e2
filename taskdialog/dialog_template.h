#pragma once
// The own dialog's controls as items of an in-memory dialog template, and the template's bytes
// in the platform's standard form.

#include <cstdint>
#include <string>
#include <vector>

#include "taskdialog/drawing.h"

namespace quorlex {

// The platform's default dialog base units in pixels (horizontal: the low 16 bits of the
// platform's answer, vertical: the high 16 bits).
struct DialogBaseUnits {
  int horizontal = 8;
  int vertical = 16;
};

// Pixels to dialog units, truncating toward zero.
struct DialogUnitRect {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t width = 0;
  std::int16_t height = 0;
  friend bool operator==(const DialogUnitRect&, const DialogUnitRect&) = default;
};
DialogUnitRect toDialogUnits(const Rect& pixels, const DialogBaseUnits& units);

enum class ItemKind : std::uint8_t {
  frameStatic = 0,  // not produced by the layout
  button = 1,
  edit = 2,  // not produced by the layout
  text = 3,
  checkBox = 4,
  progressBar = 5,
  link = 6,
  radioButton = 7,
};

std::u16string_view itemClassName(ItemKind kind);
std::uint32_t itemBaseStyle(ItemKind kind);

namespace windowStyle {
inline constexpr std::uint32_t visible = 0x10000000;
inline constexpr std::uint32_t group = 0x00020000;
inline constexpr std::uint32_t defaultPushButton = 0x1;
inline constexpr std::uint32_t commandLink = 0x14B;  // owner-drawn, icon image, left-aligned text
inline constexpr std::uint32_t marquee = 0x8;
inline constexpr std::uint32_t dialogFrame = 0x90C00080;  // pop-up, visible, caption, modal frame
inline constexpr std::uint32_t centred = 0x800;
inline constexpr std::uint32_t minimiseBox = 0x20000;
inline constexpr std::uint32_t systemMenu = 0x80000;
inline constexpr std::uint32_t rightToLeft = 0x3000;  // extended: right-to-left reading, right-aligned
}  // namespace windowStyle

struct DialogItem {
  ItemKind kind = ItemKind::text;
  std::uint32_t style = 0;
  std::uint32_t extendedStyle = 0;
  Rect pixels;  // where the layout placed it
  DialogUnitRect units;
  std::uint16_t id = 0;
  std::u16string className;
  std::u16string text;
};

struct DialogHeader {
  std::uint32_t style = 0;
  std::uint32_t extendedStyle = 0;
  std::uint16_t itemCount = 0;
  DialogUnitRect units;
};

// Header, empty menu, default class, title; then each item on a 4-byte boundary: its header,
// class name, text and an empty creation-data count. All texts zero-terminated UTF-16, all
// numbers little-endian.
std::vector<std::uint8_t> encodeDialogTemplate(const DialogHeader& header,
                                               std::u16string_view title,
                                               const std::vector<DialogItem>& items);

}  // namespace quorlex
