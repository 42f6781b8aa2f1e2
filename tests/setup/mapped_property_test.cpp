#include "setup/mapped_property.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;
using test_support::hostFailure;

class MappedPropertyTest : public testing::Test, protected test_support::HostWithTable {
 protected:

  const MenuEntry& entry(const ChoiceMenu& menu, std::u16string_view title) {
    const MenuEntry* found = menu.find(title);
    EXPECT_NE(found, nullptr) << toUtf8(title);
    static const MenuEntry none;
    return found ? *found : none;
  }

  CMappedProperty* active = nullptr;
  CMappedProperty item{&table, &active};
};

TEST_F(MappedPropertyTest, BindShowsTheRow) {
  EXPECT_TRUE(item.bind(0));
  EXPECT_EQ(item.name(), u"Parameter 1");
  EXPECT_EQ(item.value(), u"");
  EXPECT_EQ(item.description(), u"PARM1 - CHAR(1024)\nParameter description.");
  EXPECT_FALSE(item.allowEdit());
  EXPECT_TRUE(item.hasButton());
  EXPECT_EQ(item.nameColour(), ItemTextColour{});
  EXPECT_EQ(item.valueColour(), ItemTextColour{});
}

TEST_F(MappedPropertyTest, BindRefusesRowsOutsideTheTableAndHiddenRows) {
  EXPECT_FALSE(item.bind(-1));
  EXPECT_FALSE(item.bind(20));
  table.row(5).placement = rowPlacement::hidden;
  EXPECT_FALSE(item.bind(5));
  EXPECT_FALSE(item.isBound());
  table.row(6).placement = 7;
  EXPECT_TRUE(item.bind(6));
  CMappedProperty noTable(nullptr, &active);
  EXPECT_FALSE(noTable.bind(0));
}

TEST_F(MappedPropertyTest, RequiredRowsDrawTheirNameInDarkRed) {
  table.row(2).required = 1;
  item.bind(2);
  EXPECT_EQ(item.nameColour(), (ItemTextColour{false, 0x0000BF}));
  EXPECT_EQ(item.valueColour(), ItemTextColour{});
}

struct SatisfiedCase {
  const char* name;
  std::uint8_t required;
  std::int32_t sourceType;
  std::u16string_view source;
  bool satisfied;
};

class IsSatisfied : public testing::TestWithParam<SatisfiedCase> {};

TEST_P(IsSatisfied, OnlyARequiredUnmappedRowFails) {
  test_support::HostWithTable setup;
  CParameterTable& table = setup.table;
  table.row(3).required = GetParam().required;
  table.row(3).sourceType = GetParam().sourceType;
  table.row(3).source = GetParam().source;
  CMappedProperty item(&table, nullptr);
  ASSERT_TRUE(item.bind(3));
  EXPECT_EQ(item.isSatisfied(), GetParam().satisfied);
}

INSTANTIATE_TEST_SUITE_P(Cases, IsSatisfied,
                         testing::Values(SatisfiedCase{"optionalUnmapped", 0, KFX_REL_UNDEFINED_LINK, u"", true},
                                         SatisfiedCase{"requiredUnmapped", 1, KFX_REL_UNDEFINED_LINK, u"", false},
                                         SatisfiedCase{"requiredEmptyConstant", 1, KFX_REL_TEXTCONSTANT, u"", false},
                                         SatisfiedCase{"requiredConstant", 1, KFX_REL_TEXTCONSTANT, u"ABC", true},
                                         SatisfiedCase{"requiredIndexField", 1, KFX_REL_INDEXFIELD, u"INV", true},
                                         SatisfiedCase{"requiredHostValue", 1, KFX_REL_VARIABLE, u"Batch Name", true},
                                         SatisfiedCase{"requiredBatchField", 1, KFX_REL_BATCHFIELD, u"Folder", true},
                                         SatisfiedCase{"requiredNamelessIndexField", 1, KFX_REL_INDEXFIELD, u"", false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(MappedPropertyTest, AnUnboundItemIsSatisfiedAndMakesNoChoice) {
  table.row(0).required = 1;
  EXPECT_TRUE(item.isSatisfied());
  EXPECT_FALSE(item.chooseNoMapping());
  EXPECT_FALSE(item.chooseTextConstant());
  EXPECT_TRUE(item.openChoiceMenu().entries.empty());
  EXPECT_EQ(active, nullptr);
}

TEST_F(MappedPropertyTest, TextConstantEmptiesTheValueAndTakesWhatIsTyped) {
  table.row(4).source = u"INV";
  table.row(4).sourceType = KFX_REL_INDEXFIELD;
  item.bind(4);
  EXPECT_EQ(item.value(), u"INV");
  EXPECT_TRUE(item.chooseTextConstant());
  EXPECT_TRUE(item.allowEdit());
  EXPECT_EQ(item.value(), u"");
  EXPECT_EQ(table.row(4).source, u"");
  EXPECT_EQ(table.row(4).sourceType, KFX_REL_TEXTCONSTANT);
  item.endEdit(u"50% off");
  EXPECT_EQ(item.value(), u"50% off");
  EXPECT_EQ(table.row(4).source, u"50% off");
  EXPECT_TRUE(item.chooseNoMapping());
  EXPECT_FALSE(item.allowEdit());
  EXPECT_EQ(table.row(4).source, u"");
  EXPECT_EQ(table.row(4).sourceType, KFX_REL_UNDEFINED_LINK);
}

TEST_F(MappedPropertyTest, CaptureValueChoiceTakesTheNameAtThePosition) {
  table.valueNames() = {u"Batch Name", u"Scan Date"};
  item.bind(0);
  EXPECT_TRUE(item.chooseCaptureValue(28161));
  EXPECT_EQ(table.row(0).source, u"Scan Date");
  EXPECT_EQ(table.row(0).sourceType, KFX_REL_VARIABLE);
  EXPECT_EQ(item.value(), u"Scan Date");
  for (std::uint32_t outside : {28162u, 28159u, 28417u}) {
    EXPECT_FALSE(item.chooseCaptureValue(outside)) << outside;
    EXPECT_EQ(table.row(0).source, u"Scan Date");
  }
}

TEST_F(MappedPropertyTest, IndexFieldChoiceReadsTheFieldFromTheHost) {
  host.record().indexFields = {u"INV", u"Customer"};
  item.bind(1);
  EXPECT_TRUE(item.chooseIndexField(28418));
  EXPECT_EQ(table.row(1).source, u"Customer");
  EXPECT_EQ(table.row(1).sourceType, KFX_REL_INDEXFIELD);
  EXPECT_EQ(item.value(), u"Customer");
}

struct IndexChoiceFailure {
  const char* name;
  std::uint32_t commandId;
  std::optional<HostOperation> fault;
};

class IndexFieldChoiceFailure : public testing::TestWithParam<IndexChoiceFailure> {};

TEST_P(IndexFieldChoiceFailure, ChangesNothing) {
  test_support::HostWithTable setup;
  MemoryHost& host = setup.host;
  CParameterTable& table = setup.table;
  host.record().indexFields = {u"INV", u"Customer"};
  table.row(1).source = u"ABC";
  table.row(1).sourceType = KFX_REL_TEXTCONSTANT;
  CMappedProperty item(&table, nullptr);
  item.bind(1);
  if (GetParam().fault) host.faults().fail(*GetParam().fault, hostFailure);
  EXPECT_FALSE(item.chooseIndexField(GetParam().commandId));
  EXPECT_EQ(table.row(1).source, u"ABC");
  EXPECT_EQ(table.row(1).sourceType, KFX_REL_TEXTCONSTANT);
  EXPECT_EQ(item.value(), u"ABC");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IndexFieldChoiceFailure,
    testing::Values(IndexChoiceFailure{"noCollection", 28417, HostOperation::SetupIndexFields},
                    IndexChoiceFailure{"itemFails", 28417, HostOperation::IndexFieldsItem},
                    IndexChoiceFailure{"nameFails", 28417, HostOperation::IndexFieldName},
                    IndexChoiceFailure{"fieldGoneFromHost", 28419, std::nullopt},
                    IndexChoiceFailure{"positionZero", 28416, std::nullopt},
                    IndexChoiceFailure{"hostValueCommand", 28160, std::nullopt}),
    [](const auto& info) { return info.param.name; });

TEST_F(MappedPropertyTest, MenuOfAnUnmappedRowTicksNoMappingAndListsBothSubmenus) {
  host.record().indexFields = {u"INV"};
  table.valueNames() = {u"Batch Name"};
  item.bind(0);
  ChoiceMenu menu = item.openChoiceMenu();
  EXPECT_EQ(active, &item);
  ASSERT_EQ(menu.entries.size(), 4u);
  EXPECT_EQ(menu.entries[0].text, u"Text Constant");
  EXPECT_FALSE(menu.entries[0].checked);
  EXPECT_EQ(menu.entries[1].text, u"No Mapping");
  EXPECT_TRUE(menu.entries[1].checked);
  EXPECT_EQ(menu.entries[2].text, u"Document Index Fields");
  EXPECT_EQ(menu.entries[3].text, u"Kofax Capture Values");
}

TEST_F(MappedPropertyTest, MenuTicksTheStoredIndexFieldAndTextConstant) {
  host.record().indexFields = {u"Customer", u"INV"};
  host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"}, {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"}};
  table.loadLinks();
  item.bind(2);
  EXPECT_EQ(item.value(), u"INV");
  ChoiceMenu menu = item.openChoiceMenu();
  EXPECT_FALSE(entry(menu, u"No Mapping").checked);
  EXPECT_FALSE(entry(menu, u"Text Constant").checked);
  const MenuEntry& fields = entry(menu, u"Document Index Fields");
  ASSERT_EQ(fields.entries.size(), 2u);
  EXPECT_FALSE(fields.entries[0].checked);
  EXPECT_TRUE(fields.entries[1].checked);
  EXPECT_EQ(menu.find(u"Kofax Capture Values"), nullptr);

  CMappedProperty last(&table, &active);
  last.bind(19);
  EXPECT_EQ(last.value(), u"ABC");
  EXPECT_TRUE(last.allowEdit());
  ChoiceMenu lastMenu = last.openChoiceMenu();
  EXPECT_EQ(active, &last);
  EXPECT_TRUE(entry(lastMenu, u"Text Constant").checked);
  EXPECT_FALSE(entry(lastMenu, u"No Mapping").checked);
  for (const MenuEntry& field : entry(lastMenu, u"Document Index Fields").entries) EXPECT_FALSE(field.checked);
}

TEST_F(MappedPropertyTest, AConstantNamedLikeAnIndexFieldTicksNoField) {
  host.record().indexFields = {u"INV"};
  table.row(0).source = u"INV";
  table.row(0).sourceType = KFX_REL_TEXTCONSTANT;
  item.bind(0);
  ChoiceMenu menu = item.openChoiceMenu();
  EXPECT_FALSE(entry(menu, u"Document Index Fields").entries[0].checked);
}

TEST_F(MappedPropertyTest, MenuOpensAtTheButtonsBottomLeftCorner) {
  EXPECT_EQ(CMappedProperty::choiceMenuPosition(ScreenRect{400, 120, 418, 138}), (ScreenPoint{400, 138}));
}

}  // namespace
}  // namespace quorlex
