#pragma once
// The mapping choice menu of a Data Mapping item, as data: what a window shows as a popup
// menu, and the command ids its entries send back to the page.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlex {

class CParameterTable;

namespace choiceCommand {
inline constexpr std::uint32_t menuResource = 11012;
inline constexpr std::uint32_t textConstant = 32777;
inline constexpr std::uint32_t noMapping = 32779;
// A host value at 0-based position q of the value names sends captureValueBase + q; an
// index field at 1-based host position p sends indexFieldBase + p. The two ranges are
// disjoint, and entries past a range's end are not offered, so a command can never reach
// the other kind's handler.
inline constexpr std::uint32_t captureValueBase = 28160;
inline constexpr std::uint32_t maxCaptureValues = 256;  // 28160 to 28415
inline constexpr std::uint32_t indexFieldBase = 28416;
inline constexpr std::uint32_t maxIndexFields = 255;  // 28417 to 28671
}  // namespace choiceCommand

inline constexpr std::u16string_view textConstantTitle = u"Text Constant";
inline constexpr std::u16string_view noMappingTitle = u"No Mapping";
inline constexpr std::u16string_view indexFieldMenuTitle = u"Document Index Fields";
inline constexpr std::u16string_view captureValueMenuTitle = u"Kofax Capture Values";

// The host value position a command names, if it is one of the host-value range.
std::optional<std::uint32_t> captureValuePosition(std::uint32_t commandId);
// The index field position a command names, if it is one of the index-field range
// (28416 to 28671; position 0 names no field and is never offered).
std::optional<std::int32_t> indexFieldPosition(std::uint32_t commandId);

// A plain entry sends commandId; a submenu entry has no command and holds its entries.
struct MenuEntry {
  std::u16string text;
  std::uint32_t commandId = 0;
  bool checked = false;
  bool isSubmenu = false;
  std::vector<MenuEntry> entries{};
  bool operator==(const MenuEntry&) const = default;
};

struct ChoiceMenu {
  std::vector<MenuEntry> entries{};

  // The entry of that title at the top level, or none.
  const MenuEntry* find(std::u16string_view title) const;
  // The command of the first entry titled text inside the submenu of that title, or none.
  std::optional<std::uint32_t> submenuCommand(std::u16string_view submenuTitle, std::u16string_view text) const;
};

// The pop-up of menu 11012: "Text Constant", then "No Mapping".
ChoiceMenu baseChoiceMenu();

// Adds the "Document Index Fields" submenu when the host gives its index fields, even
// empty; ticks the entry named current (case-sensitive).
void appendIndexFieldMenu(ChoiceMenu& menu, const CParameterTable& table, std::u16string_view current);

// Adds the "Kofax Capture Values" submenu when the table holds host value names.
void appendCaptureValueMenu(ChoiceMenu& menu, const CParameterTable& table);

}  // namespace quorlex
