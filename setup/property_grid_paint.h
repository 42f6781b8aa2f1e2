#pragma once
// What the property grid paints, as a list of operations in painting order: fills, texts,
// the value button. The window turns each into one drawing call on its back buffer; the
// header, the scroll bar and the edit box are child windows and paint themselves.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "setup/property_grid_view.h"

namespace quorlex {

enum class SystemColour { Window, WindowText, ButtonFace, ButtonShadow, Highlight, HighlightText };

// A system colour, or a fixed one (0x00BBGGRR).
struct PaintColour {
  SystemColour system = SystemColour::WindowText;
  bool fixed = false;
  std::uint32_t rgb = 0;
  static PaintColour of(SystemColour colour) { return {colour, false, 0}; }
  static PaintColour of(const ItemTextColour& colour) {
    return colour.systemWindowText ? of(SystemColour::WindowText) : PaintColour{SystemColour::WindowText, true, colour.colour};
  }
  bool operator==(const PaintColour&) const = default;
};

enum class PaintFont { Normal, Bold };

struct FillOperation {
  GridRect rect;
  PaintColour colour;
  bool operator==(const FillOperation&) const = default;
};

// One line, vertically centred and cut with an ellipsis; or, multiLine, wrapped at words
// from the rectangle's top.
struct TextOperation {
  GridRect rect;
  std::u16string text;
  PaintFont font = PaintFont::Normal;
  PaintColour colour;
  bool multiLine = false;
  bool operator==(const TextOperation&) const = default;
};

// The flat push button at the right of the selected value, with a drop-down arrow.
struct ButtonOperation {
  GridRect rect;
  bool operator==(const ButtonOperation&) const = default;
};

using PaintOperation = std::variant<FillOperation, TextOperation, ButtonOperation>;

// The whole client area but the child windows; focused: whether the grid or its edit box
// has the keyboard focus (the selection shows in the highlight colour only then).
std::vector<PaintOperation> paintPropertyGrid(const PropertyGridView& view, bool focused);

}  // namespace quorlex
