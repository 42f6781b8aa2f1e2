// The in-memory host served as IDispatch objects and read back through the late-bound
// adapters must behave exactly as the in-memory host itself: same values, same codes,
// same writes and events.
#include "testhost/host_dispatch_objects.h"

#include <gtest/gtest.h>

#include "common/com_apartment.h"
#include "common/text.h"
#include "server/host_dispatch_adapters.h"
#include "testhost/memory_host.h"

namespace quorlex {
namespace {

constexpr ResultCode hostFailure = static_cast<ResultCode>(0x80041234);

// A transcript of reading everything a script can read: one line per operation, with
// its text or its failure code.
class Transcript {
 public:
  template <class Read>
  bool text(const char* what, Read read) {
    std::u16string value = u"(unset)";
    ResultCode code = read(value);
    lines_.push_back(std::string(what) + (hostSucceeded(code) ? "=" + toUtf8(value) : "!" + toUtf8(formatCode(code))));
    return hostSucceeded(code);
  }
  template <class Read>
  bool number(const char* what, Read read, std::int32_t& value) {
    value = -99;
    ResultCode code = read(value);
    lines_.push_back(std::string(what) + (hostSucceeded(code) ? "=" + std::to_string(value) : "!" + toUtf8(formatCode(code))));
    return hostSucceeded(code);
  }
  bool code(const char* what, ResultCode result) {
    lines_.push_back(std::string(what) + (hostSucceeded(result) ? " ok" : "!" + toUtf8(formatCode(result))));
    return hostSucceeded(result);
  }
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

void readProperties(ICustomProperties& properties, Transcript& out) {
  for (const char16_t* name : {u"serverURL", u"ExitProgramLibrary", u"missing"}) {
    std::shared_ptr<ICustomProperty> property;
    if (!out.code("Item", properties.item(name, property))) continue;
    out.text("Value", [&](auto& v) { return property->value(v); });
  }
}

void readReleaseData(IReleaseData& data, Transcript& out) {
  out.text("UserName", [&](auto& v) { return data.userName(v); });
  out.text("Password", [&](auto& v) { return data.password(v); });
  std::shared_ptr<ICustomProperties> properties;
  if (out.code("CustomProperties", data.customProperties(properties))) readProperties(*properties, out);
  std::shared_ptr<IValues> values;
  if (!out.code("Values", data.values(values))) return;
  std::int32_t count = 0;
  if (!out.number("Count", [&](auto& v) { return values->count(v); }, count)) return;
  for (std::int32_t position = 0; position <= count + 1; ++position) {  // one outside either end
    std::shared_ptr<IValue> value;
    if (!out.code("Item", values->item(position, value))) continue;
    out.text("Destination", [&](auto& v) { return value->destination(v); });
    out.text("Value", [&](auto& v) { return value->value(v); });
    out.text("TableName", [&](auto& v) { return value->tableName(v); });
    std::shared_ptr<IRowValues> rows;
    if (!out.code("RowValues", value->rowValues(0, rows))) continue;
    if (!rows) {
      out.code("no IRowValues", resultOk);
      continue;
    }
    std::int32_t rowCount = 0;
    if (!out.number("Rows", [&](auto& v) { return rows->count(v); }, rowCount)) continue;
    for (std::int32_t row = 1; row <= rowCount; ++row) {
      std::shared_ptr<IRowValue> cell;
      if (out.code("Row", rows->item(row, cell))) out.text("RowValue", [&](auto& v) { return cell->value(v); });
    }
  }
}

void readSetupData(IReleaseSetupData& data, Transcript& out) {
  out.text("Name", [&](auto& v) { return data.name(v); });
  out.text("UserName", [&](auto& v) { return data.userName(v); });
  out.text("Password", [&](auto& v) { return data.password(v); });
  out.text("DocClassName", [&](auto& v) { return data.docClassName(v); });
  out.text("BatchClassName", [&](auto& v) { return data.batchClassName(v); });
  std::shared_ptr<ICustomProperties> properties;
  if (out.code("CustomProperties", data.customProperties(properties))) readProperties(*properties, out);
  std::shared_ptr<ILinks> links;
  std::int32_t count = 0;
  if (out.code("Links", data.links(links)) && out.number("Count", [&](auto& v) { return links->count(v); }, count)) {
    for (std::int32_t position = 1; position <= count; ++position) {
      std::shared_ptr<ILink> link;
      if (!out.code("Item", links->item(position, link))) continue;
      out.text("Source", [&](auto& v) { return link->source(v); });
      std::int32_t type = 0;
      out.number("SourceType", [&](auto& v) { return link->sourceType(v); }, type);
      out.text("Destination", [&](auto& v) { return link->destination(v); });
    }
  }
  std::shared_ptr<IIndexFields> fields;
  if (out.code("IndexFields", data.indexFields(fields)) &&
      out.number("Count", [&](auto& v) { return fields->count(v); }, count)) {
    for (std::int32_t position = 1; position <= count; ++position) {
      std::shared_ptr<IIndexField> field;
      if (out.code("Item", fields->item(position, field))) out.text("Name", [&](auto& v) { return field->name(v); });
    }
  }
  std::shared_ptr<IValueNameCollection> names;
  if (!out.code("BatchVariableNames", data.batchVariableNames(names))) return;
  if (!names) {
    out.code("no collection", resultOk);
    return;
  }
  std::shared_ptr<IValueNameEnumerator> each;
  if (!out.code("Enumerator", names->enumerator(each))) return;
  for (int guard = 0; guard < 10; ++guard) {
    std::optional<std::u16string> name;
    if (!out.code("Next", each->next(name)) || !name) break;
    out.text("Element", [&](auto& v) {
      v = *name;
      return resultOk;
    });
  }
}

// Every write a script makes, in one order.
void writeSetupData(IReleaseSetupData& data, Transcript& out) {
  out.code("put Name", data.setName(u"To AS/400"));
  out.code("put UserName", data.setUserName(u"QUSER"));
  out.code("put Password", data.setPassword(u"s3cr\u00e9t"));
  std::shared_ptr<ICustomProperties> properties;
  if (out.code("CustomProperties", data.customProperties(properties))) {
    out.code("Remove", properties->remove(u"serverURL"));
    out.code("Add", properties->add(u"serverURL", u"http://as400:8080"));
    out.code("Add again", properties->add(u"serverURL", u"http://other"));
  }
  std::shared_ptr<ILinks> links;
  if (out.code("Links", data.links(links))) {
    out.code("RemoveAll", links->removeAll());
    out.code("Add", links->add(u"Invoice", KFX_REL_INDEXFIELD, u"PARM1"));
    out.code("Add", links->add(u"{Batch Name}", KFX_REL_VARIABLE, u"PARM2"));
  }
  out.code("Apply", data.apply());
}

void fillHost(MemoryHost& host) {
  SetupRecord& record = host.record();
  record.name = u"AS400";
  record.userName = u"QUSER";
  record.password = u"pa\u00dfword";
  record.docClassName = u"Invoices";
  record.batchClassName = u"Daily";
  record.customProperties = {{u"serverURL", u"http://as400"}, {u"ExitProgramLibrary", u"QGPL"}};
  record.links = {{u"Invoice", KFX_REL_INDEXFIELD, u"PARM1"}, {u"Constant", KFX_REL_TEXTCONSTANT, u"PARM3"}};
  record.indexFields = {u"Invoice", u"Amount"};
  record.batchVariableNames = {u"Batch Name", u"{Sheet Count}"};
  host.setDocumentValues({MemoryValue{u"PARM1", u"INV-1 \U0001F600", u"", {}},
                          MemoryValue{u"PARM5", u"", u"Items", {u"first", u"", u"third"}}});
}

struct FaultCase {
  HostOperation operation;
  ResultCode code;
  int onCall;
};
void PrintTo(const FaultCase& row, std::ostream* out) {
  *out << "operation " << static_cast<int>(row.operation) << " failing with 0x" << std::hex
       << static_cast<std::uint32_t>(row.code) << std::dec << " on call " << row.onCall;
}

class HostDispatchObjects : public testing::TestWithParam<FaultCase> {
 protected:
  // The two hosts: one read directly, one through IDispatch.
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(apartment.result()));
    fillHost(direct);
    fillHost(served);
    com_ptr<IDispatch> releaseObject, setupObject;
    ASSERT_EQ(exposeReleaseData(served.releaseData(), releaseObject), S_OK);
    ASSERT_EQ(exposeSetupData(served.setupData(), setupObject), S_OK);
    releaseThroughCom = releaseDataOverDispatch(releaseObject);
    setupThroughCom = setupDataOverDispatch(setupObject);
  }
  void injectBoth(const FaultCase& fault) {
    direct.faults().fail(fault.operation, fault.code, fault.onCall);
    served.faults().fail(fault.operation, fault.code, fault.onCall);
  }

  ComApartment apartment;
  MemoryHost direct, served;
  std::shared_ptr<IReleaseData> releaseThroughCom;
  std::shared_ptr<IReleaseSetupData> setupThroughCom;
};

TEST_F(HostDispatchObjects, EveryReadGivesWhatTheHostHolds) {
  Transcript expected, seen;
  readReleaseData(*direct.releaseData(), expected);
  readSetupData(*direct.setupData(), expected);
  readReleaseData(*releaseThroughCom, seen);
  readSetupData(*setupThroughCom, seen);
  EXPECT_EQ(seen.lines(), expected.lines());
  EXPECT_GT(seen.lines().size(), 40u);
}

TEST_F(HostDispatchObjects, EveryWriteAndEventReachesTheHost) {
  Transcript expected, seen;
  writeSetupData(*direct.setupData(), expected);
  writeSetupData(*setupThroughCom, seen);
  EXPECT_EQ(seen.lines(), expected.lines());
  EXPECT_EQ(served.record(), direct.record());
  EXPECT_EQ(served.applyCount(), 1);
  EXPECT_EQ(served.appliedRecord(), direct.appliedRecord());

  for (const std::shared_ptr<IReleaseData>& data : {direct.releaseData(), releaseThroughCom}) {
    EXPECT_EQ(data->logError(1, 0, 0, u"HTTP 500 (100% %s)", u".\\releaseScript", 238), resultOk);
    EXPECT_EQ(data->sendMessage(u"HTTP 500 (100% %s)", 1, KFX_REL_DOC_ERROR), resultOk);
  }
  EXPECT_EQ(served.events(), direct.events());
  EXPECT_EQ(served.events().size(), 2u);
}

TEST_P(HostDispatchObjects, AFailingOperationGivesTheSameCodeThroughCom) {
  injectBoth(GetParam());
  Transcript expected, seen;
  readReleaseData(*direct.releaseData(), expected);
  readSetupData(*direct.setupData(), expected);
  writeSetupData(*direct.setupData(), expected);
  readReleaseData(*releaseThroughCom, seen);
  readSetupData(*setupThroughCom, seen);
  writeSetupData(*setupThroughCom, seen);
  EXPECT_EQ(seen.lines(), expected.lines());
  EXPECT_EQ(served.record(), direct.record());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HostDispatchObjects,
    testing::Values(FaultCase{HostOperation::ReleaseUserName, hostFailure, 0},
                    FaultCase{HostOperation::ReleaseUserName, 1, 0},  // positive: a failure too
                    FaultCase{HostOperation::ReleaseValues, hostFailure, 0},
                    FaultCase{HostOperation::ValuesCount, hostFailure, 0}, FaultCase{HostOperation::ValuesItem, 2, 2},
                    FaultCase{HostOperation::ValueTableName, hostFailure, 1},
                    FaultCase{HostOperation::ValueRowValues, hostFailure, 0},
                    FaultCase{HostOperation::RowValuesInterface, hostFailure, 0},
                    FaultCase{HostOperation::RowValuesItem, hostFailure, 2},
                    FaultCase{HostOperation::CustomPropertiesItem, hostFailure, 1},
                    FaultCase{HostOperation::CustomPropertyValue, hostFailure, 0},
                    FaultCase{HostOperation::SetupSetName, hostFailure, 0},
                    FaultCase{HostOperation::LinksRemoveAll, hostFailure, 0},
                    FaultCase{HostOperation::LinkSourceType, 3, 0},
                    FaultCase{HostOperation::IndexFieldName, hostFailure, 2},
                    FaultCase{HostOperation::ValueNamesInterface, hostFailure, 0},
                    FaultCase{HostOperation::ValueNamesEnumerator, hostFailure, 0},
                    FaultCase{HostOperation::ValueNamesNext, hostFailure, 2},
                    FaultCase{HostOperation::Apply, hostFailure, 0}));

TEST_F(HostDispatchObjects, AnExceptionInTheHostBecomesOutOfMemory) {
  served.faults().throwOn(HostOperation::ReleasePassword);
  std::u16string password = u"untouched";
  EXPECT_EQ(releaseThroughCom->password(password), static_cast<ResultCode>(E_OUTOFMEMORY));
  EXPECT_EQ(password, u"untouched");
}

}  // namespace
}  // namespace quorlex
