#include "setup/property_grid.h"

#include <algorithm>

namespace quorlex {

const PropertyGroup* PropertyGrid::findGroup(std::u16string_view name) const {
  auto found = std::find_if(groups_.begin(), groups_.end(), [&](const PropertyGroup& group) { return group.name == name; });
  return found == groups_.end() ? nullptr : &*found;
}

CMappedProperty* PropertyGrid::findItem(std::int32_t rowIndex) const {
  for (const PropertyGroup& group : groups_) {
    for (const auto& item : group.items) {
      if (item->rowIndex() == rowIndex) return item.get();
    }
  }
  return nullptr;
}

void PropertyGrid::ensureVisible(CMappedProperty* item) {
  for (PropertyGroup& group : groups_) {
    bool holds = std::any_of(group.items.begin(), group.items.end(), [&](const auto& each) { return each.get() == item; });
    if (holds) group.expanded = true;
  }
  lastShown_ = item;
}

DescriptionArea PropertyGrid::descriptionArea() const {
  if (!selected_) return {};
  return DescriptionArea{selected_->name(), selected_->description()};
}

}  // namespace quorlex
