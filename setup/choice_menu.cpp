#include "setup/choice_menu.h"

#include <algorithm>
#include <memory>

#include "setup/parameter_table.h"

namespace quorlex {
namespace {

MenuEntry commandEntry(std::u16string text, std::uint32_t commandId, bool checked = false) {
  MenuEntry entry;
  entry.text = std::move(text);
  entry.commandId = commandId;
  entry.checked = checked;
  return entry;
}

MenuEntry submenuEntry(std::u16string_view title) {
  MenuEntry entry;
  entry.text = title;
  entry.isSubmenu = true;
  return entry;
}

}  // namespace

std::optional<std::uint32_t> captureValuePosition(std::uint32_t commandId) {
  using namespace choiceCommand;
  if (commandId < captureValueBase || commandId >= captureValueBase + maxCaptureValues) return std::nullopt;
  return commandId - captureValueBase;
}

std::optional<std::int32_t> indexFieldPosition(std::uint32_t commandId) {
  using namespace choiceCommand;
  if (commandId < indexFieldBase || commandId > indexFieldBase + maxIndexFields) return std::nullopt;
  return static_cast<std::int32_t>(commandId - indexFieldBase);
}

const MenuEntry* ChoiceMenu::find(std::u16string_view title) const {
  auto found = std::find_if(entries.begin(), entries.end(), [&](const MenuEntry& entry) { return entry.text == title; });
  return found == entries.end() ? nullptr : &*found;
}

std::optional<std::uint32_t> ChoiceMenu::submenuCommand(std::u16string_view submenuTitle, std::u16string_view text) const {
  const MenuEntry* submenu = find(submenuTitle);
  if (!submenu || !submenu->isSubmenu) return std::nullopt;
  for (const MenuEntry& entry : submenu->entries) {
    if (entry.text == text) return entry.commandId;
  }
  return std::nullopt;
}

ChoiceMenu baseChoiceMenu() {
  ChoiceMenu menu;
  menu.entries.push_back(commandEntry(std::u16string(textConstantTitle), choiceCommand::textConstant));
  menu.entries.push_back(commandEntry(std::u16string(noMappingTitle), choiceCommand::noMapping));
  return menu;
}

void appendIndexFieldMenu(ChoiceMenu& menu, const CParameterTable& table, std::u16string_view current) {
  IReleaseSetupData* data = table.setupData();
  std::shared_ptr<IIndexFields> fields;
  if (!data || !hostSucceeded(data->indexFields(fields)) || !fields) return;
  std::int32_t count = 0;
  if (!hostSucceeded(fields->count(count))) count = 0;
  count = std::min(count, static_cast<std::int32_t>(choiceCommand::maxIndexFields));
  MenuEntry submenu = submenuEntry(indexFieldMenuTitle);
  for (std::int32_t position = 1; position <= count; ++position) {
    std::shared_ptr<IIndexField> field;
    std::u16string name;
    if (!hostSucceeded(fields->item(position, field)) || !field) continue;
    if (!hostSucceeded(field->name(name))) continue;
    bool checked = name == current;
    submenu.entries.push_back(
        commandEntry(std::move(name), choiceCommand::indexFieldBase + static_cast<std::uint32_t>(position), checked));
  }
  menu.entries.push_back(std::move(submenu));
}

void appendCaptureValueMenu(ChoiceMenu& menu, const CParameterTable& table) {
  const std::vector<std::u16string>& names = table.valueNames();
  if (names.empty()) return;
  MenuEntry submenu = submenuEntry(captureValueMenuTitle);
  std::size_t shown = std::min<std::size_t>(names.size(), choiceCommand::maxCaptureValues);
  for (std::size_t position = 0; position < shown; ++position) {
    submenu.entries.push_back(
        commandEntry(names[position], choiceCommand::captureValueBase + static_cast<std::uint32_t>(position)));
  }
  menu.entries.push_back(std::move(submenu));
}

}  // namespace quorlex
