#include "setup/mapping_page.h"

#include <gtest/gtest.h>

#include "setup/parameter_table.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"

namespace quorlex {
namespace {

class MappingPageTest : public testing::Test, protected test_support::HostWithTable {
 protected:
  void SetUp() override { page.setTable(&table); }

  std::vector<std::u16string> itemNames(const PropertyGroup& group) {
    std::vector<std::u16string> names;
    for (const auto& item : group.items) names.push_back(item->name());
    return names;
  }

  CPropertyPageSetupMapping page;
};

TEST_F(MappingPageTest, DefaultTableShowsOneGroupOfTwentyParameters) {
  EXPECT_EQ(page.title(), u"Data Mapping");
  EXPECT_EQ(page.templateId(), 11013);
  EXPECT_TRUE(page.onInitDialog());
  ASSERT_EQ(page.grid().groups().size(), 1u);
  const PropertyGroup& group = page.grid().groups()[0];
  EXPECT_EQ(group.name, u"Exit Program Parameters");
  ASSERT_EQ(group.items.size(), 20u);
  EXPECT_EQ(group.items.front()->name(), u"Parameter 1");
  EXPECT_EQ(group.items.back()->name(), u"Parameter 20");
  EXPECT_EQ(page.grid().findGroup(u"Other Details"), nullptr);
}

TEST_F(MappingPageTest, GroupsFollowPlacementAndHiddenRowsGetNoItem) {
  table.row(19).placement = 2;
  table.row(4).placement = rowPlacement::hidden;
  table.row(7).placement = -3;
  page.onInitDialog();
  ASSERT_EQ(page.grid().groups().size(), 2u);
  EXPECT_EQ(page.grid().groups()[0].name, u"Exit Program Parameters");
  EXPECT_EQ(page.grid().groups()[0].items.size(), 17u);
  EXPECT_EQ(itemNames(page.grid().groups()[1]), (std::vector<std::u16string>{u"Parameter 8", u"Parameter 20"}));
  EXPECT_EQ(page.grid().findItem(4), nullptr);
}

TEST_F(MappingPageTest, OnlyOtherDetailsWhenNoRowHasPlacementZero) {
  for (std::int32_t row = 0; row < CParameterTable::rowCount; ++row) table.row(row).placement = row < 2 ? 5 : 1;
  page.onInitDialog();
  ASSERT_EQ(page.grid().groups().size(), 1u);
  EXPECT_EQ(itemNames(page.grid().groups()[0]), (std::vector<std::u16string>{u"Parameter 1", u"Parameter 2"}));
  EXPECT_EQ(page.grid().groups()[0].name, u"Other Details");
}

TEST_F(MappingPageTest, DescriptionAreaShowsTheSelectedItem) {
  page.onInitDialog();
  EXPECT_EQ(page.grid().descriptionArea(), DescriptionArea{});
  page.grid().select(page.grid().findItem(0));
  EXPECT_EQ(page.grid().descriptionArea(),
            (DescriptionArea{u"Parameter 1", u"PARM1 - CHAR(1024)\nParameter description."}));
}

TEST_F(MappingPageTest, CommandsGoToTheItemWhoseMenuIsOpenThenItIsForgotten) {
  host.record().indexFields = {u"INV", u"Customer"};
  table.valueNames() = {u"Batch Name"};
  page.onInitDialog();
  CMappedProperty* third = page.grid().findItem(2);

  struct Step {
    std::uint32_t command;
    std::u16string source;
    std::int32_t sourceType;
  };
  const Step steps[] = {{28418, u"Customer", KFX_REL_INDEXFIELD},
                        {28160, u"Batch Name", KFX_REL_VARIABLE},
                        {32777, u"", KFX_REL_TEXTCONSTANT},
                        {32779, u"", KFX_REL_UNDEFINED_LINK}};
  for (const Step& step : steps) {
    (void)third->openChoiceMenu();
    ASSERT_EQ(page.activeProperty, third);
    EXPECT_TRUE(page.onCommand(step.command));
    EXPECT_EQ(table.row(2).source, step.source) << step.command;
    EXPECT_EQ(table.row(2).sourceType, step.sourceType) << step.command;
    EXPECT_EQ(third->value(), step.source);
    EXPECT_EQ(page.activeProperty, nullptr);
  }
}

TEST_F(MappingPageTest, ACommandWithNoMenuOpenChangesNothing) {
  table.valueNames() = {u"Batch Name"};
  page.onInitDialog();
  for (std::uint32_t command : {32777u, 32779u, 28160u, 28417u}) {
    EXPECT_TRUE(page.onCommand(command));
  }
  for (const ParameterRow& row : table.rows()) EXPECT_EQ(row.sourceType, KFX_REL_UNDEFINED_LINK);
}

TEST_F(MappingPageTest, AFailedChoiceStillClosesTheMenuAndOtherCommandsAreNotThePages) {
  page.onInitDialog();
  CMappedProperty* first = page.grid().findItem(0);
  (void)first->openChoiceMenu();
  EXPECT_TRUE(page.onCommand(28165));  // no such host value
  EXPECT_EQ(page.activeProperty, nullptr);
  EXPECT_EQ(table.row(0).sourceType, KFX_REL_UNDEFINED_LINK);
  (void)first->openChoiceMenu();
  EXPECT_FALSE(page.onCommand(28672));
  EXPECT_FALSE(page.onCommand(1));
  EXPECT_EQ(page.activeProperty, first);  // a menu closed without a choice leaves it set
}

TEST_F(MappingPageTest, WithTheDefaultTableThePageIsAlwaysLeft) {
  int asked = 0;
  CPropertyPageSetupMapping counting([&](std::u16string_view) {
    ++asked;
    return true;
  });
  counting.setTable(&table);
  counting.onInitDialog();
  EXPECT_TRUE(counting.onKillActive());
  EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace quorlex
