#include "setup/parameter_table.h"

#include <optional>

#include "common/text.h"

namespace quorlex {

CParameterTable::CParameterTable(const std::shared_ptr<IReleaseSetupData>& setupData) : setupData_(setupData) {}

bool CParameterTable::setRow(std::int32_t index, std::int32_t placement, std::u16string_view destination,
                             std::u16string_view label, std::u16string_view description, std::u16string_view typeText,
                             bool required) {
  if (!validIndex(index)) return false;
  ParameterRow& target = row(index);
  target.placement = placement;
  target.destination = destination;
  target.label = label;
  target.description = description;
  target.typeText = typeText;
  target.required = required ? 1 : 0;
  return true;
}

bool CParameterTable::fillDefaults() {
  for (std::int32_t index = 0; index < rowCount; ++index) {
    std::u16string number = decimalText(index + 1);
    (void)setRow(index, rowPlacement::parameters, u"PARM" + number, u"Parameter " + number, u"Parameter description.",
                 u"CHAR(1024)", false);
  }
  return true;
}

std::int32_t CParameterTable::findRow(std::u16string_view destination) const {
  for (std::int32_t index = 0; index < rowCount; ++index) {
    if (row(index).destination == destination) return index;
  }
  return -1;
}

bool CParameterTable::loadLinks() {
  for (ParameterRow& each : rows_) {
    each.sourceType = KFX_REL_UNDEFINED_LINK;
    each.source.clear();
  }
  IReleaseSetupData* data = setupData();
  if (!data) return false;
  std::shared_ptr<ILinks> links;
  std::int32_t count = 0;
  if (!hostSucceeded(data->links(links)) || !links || !hostSucceeded(links->count(count))) return false;
  for (std::int32_t position = 1; position <= count; ++position) {
    std::shared_ptr<ILink> link;
    std::u16string destination;
    if (!hostSucceeded(links->item(position, link)) || !link) continue;
    if (!hostSucceeded(link->destination(destination))) continue;
    std::int32_t index = findRow(destination);
    if (index < 0) continue;
    // The row takes this link as a whole: a source or type that cannot be read is the empty
    // text or no mapping, never what an earlier link for the destination held.
    ParameterRow& target = row(index);
    target.source.clear();
    target.sourceType = KFX_REL_UNDEFINED_LINK;
    std::u16string source;
    std::int32_t sourceType = KFX_REL_UNDEFINED_LINK;
    if (hostSucceeded(link->source(source))) target.source = std::move(source);
    if (hostSucceeded(link->sourceType(sourceType))) target.sourceType = sourceType;
  }
  return true;
}

bool CParameterTable::loadValueNames() {
  valueNames_.clear();
  IReleaseSetupData* data = setupData();
  if (!data) return false;
  std::shared_ptr<IValueNameCollection> names;
  if (!hostSucceeded(data->batchVariableNames(names)) || !names) return false;
  std::shared_ptr<IValueNameEnumerator> enumerator;
  if (!hostSucceeded(names->enumerator(enumerator)) || !enumerator) return false;
  for (;;) {
    std::optional<std::u16string> name;
    // A failing step ends the list like its end does; the names read so far are kept.
    if (!hostSucceeded(enumerator->next(name)) || !name) return true;
    valueNames_.push_back(std::move(*name));
  }
}

bool CParameterTable::saveLinks() {
  IReleaseSetupData* data = setupData();
  if (!data) return false;
  std::shared_ptr<ILinks> links;
  if (!hostSucceeded(data->links(links)) || !links) return false;
  if (!hostSucceeded(links->removeAll())) return false;
  for (const ParameterRow& each : rows_) {
    if (each.isMapped()) (void)links->add(each.source, each.sourceType, each.destination);
  }
  for (const FixedLink& link : fixedLinks) {
    (void)links->add(std::u16string(link.source), link.sourceType, std::u16string(link.destination));
  }
  return true;
}

}  // namespace quorlex
