#pragma once
// The component's string table (string_table.inc) and the two ways the code reads it.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorlex {

struct ComponentString {
  std::uint32_t id;
  std::u16string_view text;
};

// Every entry of the table, in id order.
std::span<const ComponentString> componentStrings();

// The text of string id, if the table has one.
std::optional<std::u16string_view> findComponentString(std::uint32_t id);

// The text of string id, or "???" when the table has none.
std::u16string loadMessage(std::uint32_t id);

// loadMessage(id) with every insert sequence %1 to %99 replaced by that insert (1-based).
// Inserts go in as they are: a "%" inside one is not read again. "%%" gives one "%"; a
// sequence naming a missing insert, and any other "%", stays in the text unchanged.
std::u16string formatMessage(std::uint32_t id, std::initializer_list<std::u16string_view> inserts = {});
std::u16string formatMessageText(std::u16string_view text, std::span<const std::u16string_view> inserts);

}  // namespace quorlex
