#include "setup/choice_menu.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "setup/parameter_table.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"

namespace quorlex {
namespace {

using test_support::hostFailure;

struct CommandCase {
  std::uint32_t commandId;
  std::optional<std::uint32_t> captureValue;
  std::optional<std::int32_t> indexField;
};
void PrintTo(const CommandCase& row, std::ostream* out) { *out << "command " << row.commandId; }

class CommandRanges : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandRanges, NeverOverlap) {
  EXPECT_EQ(captureValuePosition(GetParam().commandId), GetParam().captureValue);
  EXPECT_EQ(indexFieldPosition(GetParam().commandId), GetParam().indexField);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandRanges,
                         testing::Values(CommandCase{28159, std::nullopt, std::nullopt},
                                         CommandCase{28160, 0u, std::nullopt},
                                         CommandCase{28415, 255u, std::nullopt},
                                         CommandCase{28416, std::nullopt, 0},
                                         CommandCase{28417, std::nullopt, 1},
                                         CommandCase{28671, std::nullopt, 255},
                                         CommandCase{28672, std::nullopt, std::nullopt},
                                         CommandCase{32777, std::nullopt, std::nullopt},
                                         CommandCase{32779, std::nullopt, std::nullopt}));

class ChoiceMenuTest : public testing::Test, protected test_support::HostWithTable {};

TEST_F(ChoiceMenuTest, BaseMenuIsTextConstantThenNoMapping) {
  ChoiceMenu menu = baseChoiceMenu();
  ASSERT_EQ(menu.entries.size(), 2u);
  EXPECT_EQ(menu.entries[0].text, u"Text Constant");
  EXPECT_EQ(menu.entries[0].commandId, 32777u);
  EXPECT_EQ(menu.entries[1].text, u"No Mapping");
  EXPECT_EQ(menu.entries[1].commandId, 32779u);
}

TEST_F(ChoiceMenuTest, IndexFieldsAreListedInHostOrderWithTheCurrentTicked) {
  host.record().indexFields = {u"INV", u"Customer", u"inv"};
  ChoiceMenu menu;
  appendIndexFieldMenu(menu, table, u"inv");
  ASSERT_EQ(menu.entries.size(), 1u);
  const MenuEntry& submenu = menu.entries[0];
  EXPECT_TRUE(submenu.isSubmenu);
  EXPECT_EQ(submenu.text, u"Document Index Fields");
  ASSERT_EQ(submenu.entries.size(), 3u);
  EXPECT_EQ(submenu.entries[0], (MenuEntry{u"INV", 28417, false}));
  EXPECT_EQ(submenu.entries[1], (MenuEntry{u"Customer", 28418, false}));
  EXPECT_EQ(submenu.entries[2], (MenuEntry{u"inv", 28419, true}));
  EXPECT_EQ(menu.submenuCommand(u"Document Index Fields", u"Customer"), 28418u);
  EXPECT_EQ(menu.submenuCommand(u"Document Index Fields", u"customer"), std::nullopt);
}

TEST_F(ChoiceMenuTest, IndexFieldSubmenuIsAddedEmptyWhenCountIsUnreadableButNotWithoutTheCollection) {
  host.record().indexFields = {u"INV"};
  host.faults().fail(HostOperation::IndexFieldsCount, hostFailure);
  ChoiceMenu menu;
  appendIndexFieldMenu(menu, table, u"");
  ASSERT_EQ(menu.entries.size(), 1u);
  EXPECT_TRUE(menu.entries[0].entries.empty());

  host.faults().clear();
  host.faults().fail(HostOperation::SetupIndexFields, hostFailure);
  ChoiceMenu without;
  appendIndexFieldMenu(without, table, u"");
  EXPECT_TRUE(without.entries.empty());
}

TEST_F(ChoiceMenuTest, AnUnreadableIndexFieldIsLeftOutAndTheRestKeepTheirPositions) {
  host.record().indexFields = {u"A", u"B", u"C", u"D"};
  host.faults().fail(HostOperation::IndexFieldsItem, hostFailure, 2);
  host.faults().fail(HostOperation::IndexFieldName, hostFailure, 2);  // the name of C
  ChoiceMenu menu;
  appendIndexFieldMenu(menu, table, u"");
  ASSERT_EQ(menu.entries[0].entries.size(), 2u);
  EXPECT_EQ(menu.entries[0].entries[0], (MenuEntry{u"A", 28417, false}));
  EXPECT_EQ(menu.entries[0].entries[1], (MenuEntry{u"D", 28420, false}));
}

TEST_F(ChoiceMenuTest, CaptureValuesGetZeroBasedCommandsAndOnlyWhenThereAreSome) {
  ChoiceMenu menu;
  appendCaptureValueMenu(menu, table);
  EXPECT_TRUE(menu.entries.empty());
  table.valueNames() = {u"Batch Name", u"Scan Date"};
  appendCaptureValueMenu(menu, table);
  ASSERT_EQ(menu.entries.size(), 1u);
  EXPECT_EQ(menu.entries[0].text, u"Kofax Capture Values");
  EXPECT_EQ(menu.entries[0].entries,
            (std::vector<MenuEntry>{{u"Batch Name", 28160, false}, {u"Scan Date", 28161, false}}));
}

TEST_F(ChoiceMenuTest, MenusStopAtTheEndOfTheirCommandRanges) {
  for (int n = 1; n <= 300; ++n) {
    std::u16string number = decimalText(n);
    host.record().indexFields.push_back(std::u16string(u"F").append(number));
    table.valueNames().push_back(std::u16string(u"V").append(number));
  }
  ChoiceMenu menu;
  appendIndexFieldMenu(menu, table, u"");
  appendCaptureValueMenu(menu, table);
  ASSERT_EQ(menu.entries.size(), 2u);
  const std::vector<MenuEntry>& fields = menu.entries[0].entries;
  const std::vector<MenuEntry>& values = menu.entries[1].entries;
  ASSERT_EQ(fields.size(), 255u);
  ASSERT_EQ(values.size(), 256u);
  EXPECT_EQ(fields.back(), (MenuEntry{u"F255", 28671, false}));
  EXPECT_EQ(values.back(), (MenuEntry{u"V256", 28415, false}));
  for (const MenuEntry& entry : fields) EXPECT_FALSE(captureValuePosition(entry.commandId));
  for (const MenuEntry& entry : values) EXPECT_FALSE(indexFieldPosition(entry.commandId));
  EXPECT_EQ(menu.submenuCommand(u"Document Index Fields", u"F256"), std::nullopt);
}

}  // namespace
}  // namespace quorlex
