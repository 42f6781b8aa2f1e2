#pragma once
// The question asked when the administrator leaves the Data Mapping page while a parameter
// marked as required is unmapped: go back and map it, or ignore the requirement.

#include <cstdint>
#include <functional>
#include <string_view>

#include "setup/property_grid.h"
#include "setup/question_dialog.h"

namespace quorlex {

namespace requiredQuestion {
inline constexpr std::uint32_t titleText = 11011;
inline constexpr std::uint32_t instructionText = 11012;
inline constexpr std::uint32_t mapText = 11013;
inline constexpr std::uint32_t ignoreText = 11014;
inline constexpr std::uint16_t warningIcon = 11020;
inline constexpr std::int32_t mapButton = 541;
inline constexpr std::int32_t ignoreButton = 542;
}  // namespace requiredQuestion

// True when the administrator chooses to map the parameter (also when no dialog appeared),
// false when the requirement is to be ignored.
bool askRequiredFields(const QuestionDialogFactory& makeDialog, std::u16string_view name);

using RequiredQuestion = std::function<bool(std::u16string_view name)>;

// Whether the page may be left: asks about the first unsatisfied item in grid order, and on
// "map" selects it, expands its group, brings it into view and keeps the page.
bool checkRequiredMappings(PropertyGrid& grid, const RequiredQuestion& ask);

}  // namespace quorlex
