#pragma once
// Reads the bytes of an in-memory dialog template back, checking its structure as it goes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "taskdialog/dialog_template.h"

namespace quorlex::test_support {

struct ReadItem {
  std::size_t offset = 0;  // where the item header starts in the block
  std::uint32_t style = 0;
  std::uint32_t extendedStyle = 0;
  DialogUnitRect units;
  std::uint16_t id = 0;
  std::u16string className;
  std::u16string text;
  std::uint16_t creationDataSize = 0;
};

struct ReadTemplate {
  std::uint32_t style = 0;
  std::uint32_t extendedStyle = 0;
  std::uint16_t itemCount = 0;
  DialogUnitRect units;
  std::uint16_t menu = 0xFFFF;
  std::uint16_t windowClass = 0xFFFF;
  std::u16string title;
  std::vector<ReadItem> items;
  std::size_t size = 0;  // bytes read, to the end of the last item
};

// None when the bytes end early or a name is an ordinal where a text is expected.
std::optional<ReadTemplate> readDialogTemplate(std::span<const std::uint8_t> bytes);

}  // namespace quorlex::test_support
