#pragma once
// The Data Mapping page's property grid as data: groups in order, each owning its items in
// insertion order, the selected item, and the item last brought into view.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "setup/mapped_property.h"

namespace quorlex {

struct PropertyGroup {
  std::u16string name;
  std::vector<std::unique_ptr<CMappedProperty>> items{};
  bool expanded = true;
};

// The grid's fixed look: a header with these column titles, the description area, the flat
// look and marked modified values on; alphabetical order and the drag outline off.
inline constexpr std::u16string_view propertyColumnTitle = u"Property";
inline constexpr std::u16string_view valueColumnTitle = u"Value";

struct DescriptionArea {
  std::u16string title;
  std::u16string text;
  bool operator==(const DescriptionArea&) const = default;
};

class PropertyGrid {
 public:
  std::vector<PropertyGroup>& groups() { return groups_; }
  const std::vector<PropertyGroup>& groups() const { return groups_; }
  const PropertyGroup* findGroup(std::u16string_view name) const;
  // The item of the row, or none.
  CMappedProperty* findItem(std::int32_t rowIndex) const;

  void select(CMappedProperty* item) { selected_ = item; }
  CMappedProperty* selected() const { return selected_; }
  // Expands the item's group and scrolls the item into view.
  void ensureVisible(CMappedProperty* item);
  CMappedProperty* lastShown() const { return lastShown_; }

  // The selected item's name and description; empty when nothing is selected.
  DescriptionArea descriptionArea() const;

 private:
  std::vector<PropertyGroup> groups_;
  CMappedProperty* selected_ = nullptr;
  CMappedProperty* lastShown_ = nullptr;
};

}  // namespace quorlex
