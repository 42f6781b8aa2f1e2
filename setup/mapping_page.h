#pragma once
// The Data Mapping page: the twenty parameters in a property grid, the commands of the
// items' choice menus, and the required check when the page is left.

#include <cstdint>
#include <string_view>

#include "setup/property_grid.h"
#include "setup/required_question.h"
#include "setup/setup_page.h"

namespace quorlex {

class CParameterTable;

namespace mappingControl {
inline constexpr std::int32_t dialogTemplate = 11013;
inline constexpr std::int32_t gridFrame = 11055;
}  // namespace mappingControl

inline constexpr std::u16string_view mappingPageTitle = u"Data Mapping";
inline constexpr std::u16string_view parameterGroupName = u"Exit Program Parameters";
inline constexpr std::u16string_view otherGroupName = u"Other Details";

class CPropertyPageSetupMapping final : public ISetupPage {
 public:
  // ask answers the required-mapping question; without one, a required row that is not
  // mapped keeps the page, as a dialog that cannot appear does.
  explicit CPropertyPageSetupMapping(RequiredQuestion ask = {});

  void setTable(CParameterTable* table) { table_ = table; }
  CParameterTable* table() const { return table_; }

  std::int32_t templateId() const override { return mappingControl::dialogTemplate; }
  std::u16string_view title() const override { return mappingPageTitle; }
  // Builds the grid: one item per shown row, in row order, in the group of its placement;
  // a group without items is not added.
  bool onInitDialog() override;
  bool onSetActive() override { return true; }
  bool onKillActive() override;
  void onOK() override {}

  // A command from an item's choice menu; false when the id is none of the menu's.
  bool onCommand(std::uint32_t commandId);

  PropertyGrid& grid() { return grid_; }
  const PropertyGrid& grid() const { return grid_; }
  CMappedProperty* activeProperty = nullptr;

 private:
  CParameterTable* table_ = nullptr;
  RequiredQuestion ask_;
  PropertyGrid grid_;
};

}  // namespace quorlex
