#include "release/parameter_assembly.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "release/host_log.h"
#include "testhost/memory_host.h"
#include "tests/support/form_posting.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

constexpr ResultCode failure = static_cast<ResultCode>(0x80040001);

using test_support::formBody;
using test_support::formPart;

struct IndexCase {
  std::u16string destination;
  std::int32_t number;
};
void PrintTo(const IndexCase& row, std::ostream* out) { *out << testing::PrintToString(row.destination); }

class ParameterIndex : public testing::TestWithParam<IndexCase> {};

TEST_P(ParameterIndex, ReadsTheNumberAfterPARM) {
  EXPECT_EQ(parameterIndex(GetParam().destination), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParameterIndex,
                         testing::Values(IndexCase{u"PARM7", 7}, IndexCase{u"PARM07", 7}, IndexCase{u"PARM7A", 7},
                                         IndexCase{u"MYPARM12", 12}, IndexCase{u"PARM 4", 4},
                                         IndexCase{u"PARM\t+9", 9}, IndexCase{u"PARM", -1}, IndexCase{u"PARMX", 0},
                                         IndexCase{u"PARM21", 21}, IndexCase{u"PARM-3", -3}, IndexCase{u"parm5", -1},
                                         IndexCase{u"OriginalFolder", -1}, IndexCase{u"", -1},
                                         IndexCase{u"PARM2147483647", 2147483647},
                                         IndexCase{u"PARM2147483648", 2147483647},
                                         IndexCase{u"PARM99999999999999999999999", 2147483647},
                                         IndexCase{u"PARM-2147483648", -2147483647 - 1},
                                         IndexCase{u"PARM-99999999999999999999", -2147483647 - 1},
                                         IndexCase{u"PARM4294967297", 2147483647}));

class ParameterAssembly : public testing::Test {
 protected:
  void SetUp() override { setLoggingTarget(host.releaseData()); }
  void TearDown() override { clearLoggingTarget(); }

  bool assemble() {
    std::shared_ptr<IValues> values;
    EXPECT_EQ(host.releaseData()->values(values), resultOk);
    return addParameters(*values, form);
  }

  MemoryHost host;
  MultipartForm form;
};

TEST_F(ParameterAssembly, DestinationsGiveFieldsOnlyForOneToTwenty) {
  host.setDocumentValues({
      {u"PARM07", u"seven", u"", {}},
      {u"MYPARM12", u"twelve", u"", {}},
      {u"PARM", u"x", u"", {}},
      {u"PARMX", u"x", u"", {}},
      {u"PARM21", u"x", u"", {}},
      {u"PARM-3", u"x", u"", {}},
      {u"parm5", u"x", u"", {}},
      {u"OriginalFolder", u"C:\\scan", u"", {}},
      {u"PARM20", u"", u"", {}},
  });
  EXPECT_TRUE(assemble());
  EXPECT_EQ(formBody(form), formPart("PARM7", "seven") + formPart("PARM12", "twelve") + formPart("PARM20", ""));
  EXPECT_TRUE(host.events().empty());
}

TEST_F(ParameterAssembly, FieldsFollowTheValuesOrderAndRepeatsAreKept) {
  host.setDocumentValues({{u"PARM3", u"c", u"", {}}, {u"PARM1", u"a", u"", {}}, {u"PARM3", u"again", u"", {}}});
  EXPECT_TRUE(assemble());
  EXPECT_EQ(formBody(form), formPart("PARM3", "c") + formPart("PARM1", "a") + formPart("PARM3", "again"));
}

TEST_F(ParameterAssembly, TableFieldGivesOneFieldPerRowInOrder) {
  host.setDocumentValues({{u"PARM5", u"joined?", u"Items", {u"A", u"B", u"C"}}, {u"PARM6", u"", u"Empty", {}}});
  EXPECT_TRUE(assemble());
  EXPECT_EQ(formBody(form), formPart("PARM5", "A") + formPart("PARM5", "B") + formPart("PARM5", "C"));
}

TEST_F(ParameterAssembly, NoValuesGiveNoFields) {
  EXPECT_TRUE(assemble());
  EXPECT_EQ(form.bodyLength(), 0u);
}

TEST_F(ParameterAssembly, UnreadableCountLogs125AndFails) {
  host.setDocumentValues({{u"PARM1", u"a", u"", {}}});
  host.faults().fail(HostOperation::ValuesCount, failure);
  EXPECT_FALSE(assemble());
  EXPECT_EQ(form.bodyLength(), 0u);
  ASSERT_EQ(host.events().size(), 2u);
  EXPECT_EQ(host.events()[0].message, u"Failed to get count of values");
  EXPECT_EQ(host.events()[0].lineNumber, 125);
  EXPECT_EQ(host.events()[0].err1, 1);
}

struct SkipCase {
  const char* name;
  HostOperation operation;
  int onCall;
  std::string expected;
};

class ParameterAssemblySkip : public ParameterAssembly, public testing::WithParamInterface<SkipCase> {};

TEST_P(ParameterAssemblySkip, UnreadablePartsAreSkippedSilently) {
  host.setDocumentValues({{u"PARM1", u"a", u"", {}}, {u"PARM2", u"", u"Items", {u"r1", u"r2"}}});
  host.faults().fail(GetParam().operation, failure, GetParam().onCall);
  EXPECT_TRUE(assemble());
  EXPECT_EQ(formBody(form), GetParam().expected);
  EXPECT_TRUE(host.events().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterAssemblySkip,
    testing::Values(
        SkipCase{"value_item", HostOperation::ValuesItem, 1, formPart("PARM2", "r1") + formPart("PARM2", "r2")},
        // No destination: the value names no parameter and adds nothing.
        SkipCase{"destination", HostOperation::ValueDestination, 1, formPart("PARM2", "r1") + formPart("PARM2", "r2")},
        SkipCase{"value_text", HostOperation::ValueValue, 1,
                 formPart("PARM1", "") + formPart("PARM2", "r1") + formPart("PARM2", "r2")},
        // TableName unreadable: taken as a single value, whose text is empty.
        SkipCase{"table_name", HostOperation::ValueTableName, 2, formPart("PARM1", "a") + formPart("PARM2", "")},
        SkipCase{"row_values", HostOperation::ValueRowValues, 0, formPart("PARM1", "a")},
        SkipCase{"row_values_interface", HostOperation::RowValuesInterface, 0, formPart("PARM1", "a")},
        SkipCase{"row_count", HostOperation::RowValuesCount, 0, formPart("PARM1", "a")},
        SkipCase{"row_item", HostOperation::RowValuesItem, 1, formPart("PARM1", "a") + formPart("PARM2", "r2")},
        SkipCase{"row_value", HostOperation::RowValueValue, 2, formPart("PARM1", "a") + formPart("PARM2", "r1")}),
    [](const auto& info) { return info.param.name; });

TEST_F(ParameterAssembly, TableRowsStopAtAnInvalidNumber) {
  host.setDocumentValues({{u"PARM21", u"", u"Items", {u"r1", u"r2"}}});
  std::shared_ptr<IValues> values;
  ASSERT_EQ(host.releaseData()->values(values), resultOk);
  std::shared_ptr<IValue> value;
  ASSERT_EQ(values->item(1, value), resultOk);
  EXPECT_FALSE(addTableRows(21, *value, form));
  EXPECT_EQ(host.faults().calls(HostOperation::RowValuesItem), 1);
  EXPECT_EQ(form.bodyLength(), 0u);
}

TEST_F(ParameterAssembly, AnExceptionLeavesWithTheFieldsAddedSoFar) {
  host.setDocumentValues({{u"PARM1", u"a", u"", {}}, {u"PARM2", u"b", u"", {}}});
  host.faults().throwOn(HostOperation::ValuesItem, 2);
  EXPECT_THROW(assemble(), std::bad_alloc);
  EXPECT_EQ(formBody(form), formPart("PARM1", "a"));
}

TEST(AddParameter, RefusesNumbersOutsideOneToTwenty) {
  MultipartForm form;
  EXPECT_FALSE(addParameter(0, u"x", form));
  EXPECT_FALSE(addParameter(21, u"x", form));
  EXPECT_TRUE(addParameter(1, u"x", form));
  EXPECT_TRUE(addParameter(20, u"x", form));
  EXPECT_EQ(formBody(form), formPart("PARM1", "x") + formPart("PARM20", "x"));
}

// A parameter cut short by a full body stops the assembly, as memory running out does.
TEST(AddParameter, AFieldThatDoesNotFitWholeThrows) {
  MultipartForm form(formPart("PARM1", "x").size() - 1);
  EXPECT_THROW(addParameter(1, u"x", form), std::bad_alloc);
}

}  // namespace
}  // namespace quorlex
