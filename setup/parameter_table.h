#pragma once
// The setup-time model of the exit program's twenty parameters: where each one's value is
// to come from at release, read from the stored links when the sheet opens and written
// back as links when it is confirmed.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "server/host_objects.h"

namespace quorlex {

// Where a row is shown on the Data Mapping page.
namespace rowPlacement {
inline constexpr std::int32_t parameters = 0;  // "Exit Program Parameters"
inline constexpr std::int32_t hidden = 1;      // no item; any other value is "Other Details"
}  // namespace rowPlacement

struct ParameterRow {
  std::u16string source;
  std::int32_t sourceType = KFX_REL_UNDEFINED_LINK;
  std::int32_t placement = rowPlacement::hidden;
  std::u16string label;
  std::u16string destination;
  std::u16string description;
  std::u16string typeText;
  std::uint8_t required = 0;

  // A row is saved as a link, and satisfies a requirement, only with a source type and text.
  bool isMapped() const { return sourceType != KFX_REL_UNDEFINED_LINK && !source.empty(); }
  bool operator==(const ParameterRow&) const = default;
};

class CParameterTable {
 public:
  static constexpr std::int32_t rowCount = 20;

  // The table reaches the setup-data object through the owner's reference each time it is
  // used, so it follows the object the owner holds at that moment.
  explicit CParameterTable(const std::shared_ptr<IReleaseSetupData>& setupData);

  bool setRow(std::int32_t index, std::int32_t placement, std::u16string_view destination, std::u16string_view label,
              std::u16string_view description, std::u16string_view typeText, bool required);
  bool fillDefaults();
  // The first row whose destination is the text (case-sensitive), or -1.
  std::int32_t findRow(std::u16string_view destination) const;
  bool loadLinks();
  bool loadValueNames();
  bool saveLinks();

  static bool validIndex(std::int32_t index) { return index >= 0 && index < rowCount; }
  ParameterRow& row(std::int32_t index) { return rows_[static_cast<std::size_t>(index)]; }
  const ParameterRow& row(std::int32_t index) const { return rows_[static_cast<std::size_t>(index)]; }
  const std::array<ParameterRow, rowCount>& rows() const { return rows_; }

  std::vector<std::u16string>& valueNames() { return valueNames_; }
  const std::vector<std::u16string>& valueNames() const { return valueNames_; }

  IReleaseSetupData* setupData() const { return setupData_.get(); }

 private:
  const std::shared_ptr<IReleaseSetupData>& setupData_;
  std::array<ParameterRow, rowCount> rows_{};
  std::vector<std::u16string> valueNames_;
};

struct FixedLink {
  std::u16string_view source;
  std::int32_t sourceType;
  std::u16string_view destination;
};

// Written after the mapped parameters every time the links are saved.
inline constexpr std::array<FixedLink, 3> fixedLinks{{
    {u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"},
    {u"First Page Original File Name", KFX_REL_VARIABLE, u"OriginalFileName"},
    {u"OriginalFileNameExt", KFX_REL_BATCHFIELD, u"OriginalFileNameExt"},
}};

}  // namespace quorlex
