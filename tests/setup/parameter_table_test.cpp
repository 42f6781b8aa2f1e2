#include "setup/parameter_table.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;
using test_support::hostFailure;

class ParameterTableTest : public testing::Test {
 protected:
  MemoryHost host;
  std::shared_ptr<IReleaseSetupData> data = host.setupData();
  CParameterTable table{data};
};

TEST_F(ParameterTableTest, NewRowsAreHiddenAndUnmappedUntilDefaultsAreFilled) {
  EXPECT_EQ(table.row(0), ParameterRow{});
  EXPECT_EQ(table.row(0).placement, rowPlacement::hidden);
  EXPECT_TRUE(table.fillDefaults());
  for (std::int32_t index = 0; index < CParameterTable::rowCount; ++index) {
    const ParameterRow& row = table.row(index);
    std::u16string number = decimalText(index + 1);
    EXPECT_EQ(row.destination, u"PARM" + number);
    EXPECT_EQ(row.label, u"Parameter " + number);
    EXPECT_EQ(row.description, u"Parameter description.");
    EXPECT_EQ(row.typeText, u"CHAR(1024)");
    EXPECT_EQ(row.placement, rowPlacement::parameters);
    EXPECT_EQ(row.required, 0);
    EXPECT_EQ(row.sourceType, KFX_REL_UNDEFINED_LINK);
    EXPECT_TRUE(row.source.empty());
  }
}

TEST_F(ParameterTableTest, SetRowRefusesIndexesOutsideTheTableAndKeepsTheMapping) {
  EXPECT_FALSE(table.setRow(-1, 0, u"X", u"X", u"", u"", false));
  EXPECT_FALSE(table.setRow(20, 0, u"X", u"X", u"", u"", false));
  table.row(4).source = u"INV";
  table.row(4).sourceType = KFX_REL_INDEXFIELD;
  EXPECT_TRUE(table.setRow(4, 2, u"EXTRA", u"Extra", u"More.", u"CHAR(10)", true));
  EXPECT_EQ(table.row(4), (ParameterRow{u"INV", KFX_REL_INDEXFIELD, 2, u"Extra", u"EXTRA", u"More.", u"CHAR(10)", 1}));
}

TEST_F(ParameterTableTest, FindRowComparesTheWholeDestinationCaseSensitively) {
  table.fillDefaults();
  EXPECT_EQ(table.findRow(u"PARM1"), 0);
  EXPECT_EQ(table.findRow(u"PARM20"), 19);
  EXPECT_EQ(table.findRow(u"parm3"), -1);
  EXPECT_EQ(table.findRow(u"PARM3 "), -1);
  EXPECT_EQ(table.findRow(u"PARM21"), -1);
  EXPECT_EQ(table.findRow(u"OriginalFolder"), -1);
}

TEST_F(ParameterTableTest, LoadLinksTakesOnlyParameterDestinationsAndTheLaterOfTwo) {
  table.fillDefaults();
  host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"},
                         {u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"},
                         {u"lower", KFX_REL_TEXTCONSTANT, u"parm4"},
                         {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"},
                         {u"Batch Name", KFX_REL_VARIABLE, u"PARM3"},
                         {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"}};
  table.row(0).source = u"stale";
  table.row(0).sourceType = KFX_REL_TEXTCONSTANT;
  EXPECT_TRUE(table.loadLinks());
  EXPECT_EQ(table.row(0).sourceType, KFX_REL_UNDEFINED_LINK);
  EXPECT_EQ(table.row(0).source, u"");
  EXPECT_EQ(table.row(2).source, u"Batch Name");
  EXPECT_EQ(table.row(2).sourceType, KFX_REL_VARIABLE);
  EXPECT_EQ(table.row(3).sourceType, KFX_REL_UNDEFINED_LINK);
  EXPECT_EQ(table.row(6).source, u"Folder");
  EXPECT_EQ(table.row(6).sourceType, KFX_REL_BATCHFIELD);
  EXPECT_EQ(table.row(19).source, u"ABC");
  EXPECT_EQ(table.row(19).sourceType, KFX_REL_TEXTCONSTANT);
}

TEST_F(ParameterTableTest, LoadLinksFailsAndLeavesAllUnmappedWithoutTheCollectionOrCount) {
  table.fillDefaults();
  host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"}};
  for (HostOperation operation : {HostOperation::SetupLinks, HostOperation::LinksCount}) {
    host.faults().clear();
    host.faults().fail(operation, hostFailure);
    table.row(2).sourceType = KFX_REL_TEXTCONSTANT;
    EXPECT_FALSE(table.loadLinks());
    EXPECT_EQ(table.row(2).sourceType, KFX_REL_UNDEFINED_LINK);
  }
}

struct LinkFaultCase {
  const char* name;
  HostOperation operation;
  std::u16string_view source;  // of row 2 afterwards
  std::int32_t sourceType;
};

class LoadLinksFault : public testing::TestWithParam<LinkFaultCase> {};

TEST_P(LoadLinksFault, SkipsOrEmptiesOnlyTheUnreadableLink) {
  test_support::HostWithTable setup;
  MemoryHost& host = setup.host;
  CParameterTable& table = setup.table;
  host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"}, {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM5"}};
  host.faults().fail(GetParam().operation, hostFailure, 1);
  EXPECT_TRUE(table.loadLinks());
  EXPECT_EQ(table.row(2).source, GetParam().source);
  EXPECT_EQ(table.row(2).sourceType, GetParam().sourceType);
  EXPECT_EQ(table.row(4).source, u"ABC");  // the next link is still read
  EXPECT_EQ(table.row(4).sourceType, KFX_REL_TEXTCONSTANT);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadLinksFault,
    testing::Values(LinkFaultCase{"item", HostOperation::LinksItem, u"", KFX_REL_UNDEFINED_LINK},
                    LinkFaultCase{"destination", HostOperation::LinkDestination, u"", KFX_REL_UNDEFINED_LINK},
                    LinkFaultCase{"source", HostOperation::LinkSource, u"", KFX_REL_INDEXFIELD},
                    LinkFaultCase{"sourceType", HostOperation::LinkSourceType, u"INV", KFX_REL_UNDEFINED_LINK}),
    [](const auto& info) { return info.param.name; });

TEST_F(ParameterTableTest, LoadValueNamesReadsTheEnumeratorInOrder) {
  host.record().batchVariableNames = {u"Batch Name", u"Scan Date", u"Document ID"};
  table.valueNames() = {u"stale"};
  EXPECT_TRUE(table.loadValueNames());
  EXPECT_EQ(table.valueNames(), (std::vector<std::u16string>{u"Batch Name", u"Scan Date", u"Document ID"}));
}

TEST_F(ParameterTableTest, LoadValueNamesFailsWithAnEmptyListWhenTheCollectionCannotBeHad) {
  host.record().batchVariableNames = {u"Batch Name"};
  for (HostOperation operation :
       {HostOperation::SetupBatchVariableNames, HostOperation::ValueNamesInterface, HostOperation::ValueNamesEnumerator}) {
    host.faults().clear();
    host.faults().fail(operation, hostFailure);
    table.valueNames() = {u"stale"};
    EXPECT_FALSE(table.loadValueNames());
    EXPECT_TRUE(table.valueNames().empty());
  }
}

TEST_F(ParameterTableTest, ValueNamesReadBeforeAFailingStepAreKept) {
  host.record().batchVariableNames = {u"Batch Name", u"Scan Date", u"Document ID"};
  host.faults().fail(HostOperation::ValueNamesNext, hostFailure, 3);
  EXPECT_TRUE(table.loadValueNames());
  EXPECT_EQ(table.valueNames(), (std::vector<std::u16string>{u"Batch Name", u"Scan Date"}));
}

std::vector<MemoryLink> withFixedLinks(std::vector<MemoryLink> links) {
  links.push_back({u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"});
  links.push_back({u"First Page Original File Name", KFX_REL_VARIABLE, u"OriginalFileName"});
  links.push_back({u"OriginalFileNameExt", KFX_REL_BATCHFIELD, u"OriginalFileNameExt"});
  return links;
}

TEST_F(ParameterTableTest, SaveLinksWritesMappedRowsInOrderThenTheFixedThree) {
  table.fillDefaults();
  host.record().links = {{u"old", KFX_REL_TEXTCONSTANT, u"Elsewhere"}};
  table.row(19).source = u"ABC";
  table.row(19).sourceType = KFX_REL_TEXTCONSTANT;
  table.row(2).source = u"INV";
  table.row(2).sourceType = KFX_REL_INDEXFIELD;
  table.row(4).sourceType = KFX_REL_TEXTCONSTANT;  // empty constant: no link
  table.row(5).source = u"orphan";                 // no source type: no link
  table.row(7).source = u"Folder";
  table.row(7).sourceType = KFX_REL_BATCHFIELD;  // loaded as stored, written back as stored
  EXPECT_TRUE(table.saveLinks());
  EXPECT_EQ(host.record().links, withFixedLinks({{u"INV", KFX_REL_INDEXFIELD, u"PARM3"},
                                                 {u"Folder", KFX_REL_BATCHFIELD, u"PARM8"},
                                                 {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"}}));
}

TEST_F(ParameterTableTest, SaveLinksLeavesTheStoredLinksWhenTheyCannotBeReachedOrEmptied) {
  table.fillDefaults();
  table.row(0).source = u"INV";
  table.row(0).sourceType = KFX_REL_INDEXFIELD;
  host.record().links = {{u"old", KFX_REL_TEXTCONSTANT, u"PARM9"}};
  for (HostOperation operation : {HostOperation::SetupLinks, HostOperation::LinksRemoveAll}) {
    host.faults().clear();
    host.faults().fail(operation, hostFailure);
    EXPECT_FALSE(table.saveLinks());
    EXPECT_EQ(host.record().links, (std::vector<MemoryLink>{{u"old", KFX_REL_TEXTCONSTANT, u"PARM9"}}));
    EXPECT_EQ(host.faults().calls(HostOperation::LinksAdd), 0);
  }
}

TEST_F(ParameterTableTest, AFailingAddDoesNotStopTheOthers) {
  table.fillDefaults();
  table.row(0).source = u"INV";
  table.row(0).sourceType = KFX_REL_INDEXFIELD;
  host.faults().fail(HostOperation::LinksAdd, hostFailure, 1);
  EXPECT_TRUE(table.saveLinks());
  EXPECT_EQ(host.record().links, withFixedLinks({}));
}

TEST_F(ParameterTableTest, SavedLinksReadBackAsTheSameRows) {
  table.fillDefaults();
  table.row(0).source = u"INV";
  table.row(0).sourceType = KFX_REL_INDEXFIELD;
  table.row(9).source = u"Batch Name";
  table.row(9).sourceType = KFX_REL_VARIABLE;
  table.row(11).sourceType = KFX_REL_TEXTCONSTANT;  // empty: comes back unmapped
  ASSERT_TRUE(table.saveLinks());
  CParameterTable reread(data);
  reread.fillDefaults();
  ASSERT_TRUE(reread.loadLinks());
  table.row(11).sourceType = KFX_REL_UNDEFINED_LINK;
  EXPECT_EQ(reread.rows(), table.rows());
}

TEST(ParameterTableWithoutSetupData, LoadsAndSavesNothing) {
  std::shared_ptr<IReleaseSetupData> none;
  CParameterTable table(none);
  table.fillDefaults();
  EXPECT_FALSE(table.loadLinks());
  EXPECT_FALSE(table.loadValueNames());
  EXPECT_FALSE(table.saveLinks());
}

TEST(ParameterTableSetupData, FollowsTheObjectTheOwnerHoldsNow) {
  MemoryHost first;
  MemoryHost second;
  second.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM1"}};
  std::shared_ptr<IReleaseSetupData> held = first.setupData();
  CParameterTable table(held);
  table.fillDefaults();
  held = second.setupData();
  EXPECT_TRUE(table.loadLinks());
  EXPECT_EQ(table.row(0).source, u"INV");
}

}  // namespace
}  // namespace quorlex
