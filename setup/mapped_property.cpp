#include "setup/mapped_property.h"

#include <memory>

namespace quorlex {

CMappedProperty::CMappedProperty(CParameterTable* table, CMappedProperty** activeProperty)
    : table_(table), activeProperty_(activeProperty) {}

ParameterRow* CMappedProperty::boundRow() const { return isBound() ? &table_->row(rowIndex_) : nullptr; }

bool CMappedProperty::bind(std::int32_t rowIndex) {
  if (!table_ || !CParameterTable::validIndex(rowIndex)) return false;
  if (table_->row(rowIndex).placement == rowPlacement::hidden) return false;
  rowIndex_ = rowIndex;
  refresh();
  return true;
}

void CMappedProperty::refresh() {
  const ParameterRow* row = boundRow();
  if (!row) return;
  allowEdit_ = row->sourceType == KFX_REL_TEXTCONSTANT;
  name_ = row->label;
  value_ = row->source;
  description_ = row->destination + u" - " + row->typeText + u"\n" + row->description;
}

bool CMappedProperty::isSatisfied() const {
  const ParameterRow* row = boundRow();
  // What counts as mapped here is what saveLinks writes as a link.
  return !row || !row->required || row->isMapped();
}

ItemTextColour CMappedProperty::nameColour() const {
  const ParameterRow* row = boundRow();
  if (row && row->required) return ItemTextColour{false, requiredNameColour};
  return {};
}

void CMappedProperty::setRowSource(std::u16string source, std::int32_t sourceType) {
  ParameterRow& row = table_->row(rowIndex_);
  row.source = std::move(source);
  row.sourceType = sourceType;
  refresh();
}

bool CMappedProperty::chooseNoMapping() {
  if (!isBound()) return false;
  setRowSource(u"", KFX_REL_UNDEFINED_LINK);
  return true;
}

bool CMappedProperty::chooseTextConstant() {
  if (!isBound()) return false;
  setRowSource(u"", KFX_REL_TEXTCONSTANT);
  return true;
}

bool CMappedProperty::chooseCaptureValue(std::uint32_t commandId) {
  if (!isBound()) return false;
  std::optional<std::uint32_t> position = captureValuePosition(commandId);
  const std::vector<std::u16string>& names = table_->valueNames();
  if (!position || *position >= names.size()) return false;
  setRowSource(names[*position], KFX_REL_VARIABLE);
  return true;
}

bool CMappedProperty::chooseIndexField(std::uint32_t commandId) {
  if (!isBound()) return false;
  std::optional<std::int32_t> position = indexFieldPosition(commandId);
  IReleaseSetupData* data = table_->setupData();
  if (!position || *position < 1 || !data) return false;
  std::shared_ptr<IIndexFields> fields;
  std::shared_ptr<IIndexField> field;
  std::u16string name;
  if (!hostSucceeded(data->indexFields(fields)) || !fields) return false;
  // The field may have gone from the host since the menu was built: then nothing changes.
  if (!hostSucceeded(fields->item(*position, field)) || !field) return false;
  if (!hostSucceeded(field->name(name))) return false;
  setRowSource(std::move(name), KFX_REL_INDEXFIELD);
  return true;
}

void CMappedProperty::endEdit(std::u16string_view valueText) {
  value_ = valueText;
  if (ParameterRow* row = boundRow()) row->source = valueText;
}

ChoiceMenu CMappedProperty::openChoiceMenu() {
  const ParameterRow* row = boundRow();
  if (!row) return {};
  ChoiceMenu menu = baseChoiceMenu();
  std::u16string_view current = row->sourceType == KFX_REL_INDEXFIELD ? std::u16string_view(row->source) : u"";
  appendIndexFieldMenu(menu, *table_, current);
  appendCaptureValueMenu(menu, *table_);
  for (MenuEntry& entry : menu.entries) {
    if (entry.commandId == choiceCommand::noMapping) entry.checked = row->sourceType == KFX_REL_UNDEFINED_LINK;
    if (entry.commandId == choiceCommand::textConstant) entry.checked = row->sourceType == KFX_REL_TEXTCONSTANT;
  }
  if (activeProperty_) *activeProperty_ = this;
  return menu;
}

}  // namespace quorlex
