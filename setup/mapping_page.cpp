#include "setup/mapping_page.h"

#include "setup/parameter_table.h"

namespace quorlex {

CPropertyPageSetupMapping::CPropertyPageSetupMapping(RequiredQuestion ask) : ask_(std::move(ask)) {}

bool CPropertyPageSetupMapping::onInitDialog() {
  PropertyGroup parameters;
  parameters.name = parameterGroupName;
  PropertyGroup other;
  other.name = otherGroupName;
  for (std::int32_t row = 0; row < CParameterTable::rowCount; ++row) {
    auto item = std::make_unique<CMappedProperty>(table_, &activeProperty);
    if (!item->bind(row)) continue;
    PropertyGroup& group = table_->row(row).placement == rowPlacement::parameters ? parameters : other;
    group.items.push_back(std::move(item));
  }
  grid_.groups().clear();
  if (!parameters.items.empty()) grid_.groups().push_back(std::move(parameters));
  if (!other.items.empty()) grid_.groups().push_back(std::move(other));
  return true;
}

bool CPropertyPageSetupMapping::onKillActive() {
  RequiredQuestion ask = ask_ ? ask_ : [](std::u16string_view) { return true; };
  return checkRequiredMappings(grid_, ask);
}

bool CPropertyPageSetupMapping::onCommand(std::uint32_t commandId) {
  bool known = commandId == choiceCommand::noMapping || commandId == choiceCommand::textConstant ||
               captureValuePosition(commandId) || indexFieldPosition(commandId);
  if (!known) return false;
  CMappedProperty* item = activeProperty;
  if (!item) return true;
  if (commandId == choiceCommand::noMapping) {
    (void)item->chooseNoMapping();
  } else if (commandId == choiceCommand::textConstant) {
    (void)item->chooseTextConstant();
  } else if (captureValuePosition(commandId)) {
    (void)item->chooseCaptureValue(commandId);
  } else {
    (void)item->chooseIndexField(commandId);
  }
  activeProperty = nullptr;
  return true;
}

}  // namespace quorlex
