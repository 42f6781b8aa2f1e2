#pragma once
// The Data Mapping grid item of one parameter row: what the item shows (name, value,
// description, colours, whether the value is typed in place), its choice menu, and the four
// choices that change the row.

#include <cstdint>
#include <string>
#include <string_view>

#include "setup/choice_menu.h"
#include "setup/parameter_table.h"

namespace quorlex {

// Colours are platform colour values, 0x00BBGGRR.
inline constexpr std::uint32_t requiredNameColour = 0x0000BF;  // RGB(191, 0, 0)

// The colour an item draws a text in: a fixed one, or the system's window-text colour.
struct ItemTextColour {
  bool systemWindowText = true;
  std::uint32_t colour = 0;
  bool operator==(const ItemTextColour&) const = default;
};

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

struct ScreenRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class CMappedProperty {
 public:
  // activeProperty is the page's slot for the item whose menu is open.
  CMappedProperty(CParameterTable* table, CMappedProperty** activeProperty);
  CMappedProperty(const CMappedProperty&) = delete;
  CMappedProperty& operator=(const CMappedProperty&) = delete;

  // False for an index outside 0 to 19 or a row that is not shown; else refreshes.
  bool bind(std::int32_t rowIndex);
  void refresh();
  // False only for a required row that saveLinks would not write as a link.
  bool isSatisfied() const;

  bool chooseNoMapping();
  bool chooseTextConstant();
  bool chooseCaptureValue(std::uint32_t commandId);
  bool chooseIndexField(std::uint32_t commandId);

  // The administrator left the value cell with this text in it.
  void endEdit(std::u16string_view valueText);

  // The menu for the item's button, with the ticks of the row's state; the item becomes the
  // page's active property. Empty, and nothing changes, when the item is not bound.
  ChoiceMenu openChoiceMenu();
  // Where the menu's top-left corner goes: the button's bottom-left corner.
  static ScreenPoint choiceMenuPosition(const ScreenRect& buttonOnScreen) { return {buttonOnScreen.left, buttonOnScreen.bottom}; }

  bool isBound() const { return table_ && rowIndex_ >= 0; }
  std::int32_t rowIndex() const { return rowIndex_; }
  const std::u16string& name() const { return name_; }
  const std::u16string& value() const { return value_; }
  const std::u16string& description() const { return description_; }
  bool allowEdit() const { return allowEdit_; }
  bool hasButton() const { return true; }
  ItemTextColour nameColour() const;
  ItemTextColour valueColour() const { return {}; }

 private:
  ParameterRow* boundRow() const;
  void setRowSource(std::u16string source, std::int32_t sourceType);

  CParameterTable* table_;
  CMappedProperty** activeProperty_;
  std::int32_t rowIndex_ = -1;
  std::u16string name_;
  std::u16string value_;
  std::u16string description_;
  bool allowEdit_ = false;
};

}  // namespace quorlex
