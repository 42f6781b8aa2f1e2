#include "testhost/memory_host.h"

#include <gtest/gtest.h>

#include <new>

namespace quorlex {
namespace {

constexpr ResultCode failure = static_cast<ResultCode>(0x80040001);

TEST(MemoryHostFaults, FailEveryCallOrOnlyTheKthLeavesOutUntouched) {
  MemoryHost host;
  host.record().userName = u"alice";
  auto data = host.releaseData();

  host.faults().fail(HostOperation::ReleaseUserName, failure, 2);
  std::u16string name = u"untouched";
  EXPECT_EQ(data->userName(name), resultOk);
  EXPECT_EQ(name, u"alice");
  name = u"untouched";
  EXPECT_EQ(data->userName(name), failure);
  EXPECT_EQ(name, u"untouched");
  EXPECT_EQ(data->userName(name), resultOk);
  EXPECT_EQ(host.faults().calls(HostOperation::ReleaseUserName), 3);

  host.faults().fail(HostOperation::ReleaseUserName, 1);  // a positive code is a failure too
  EXPECT_EQ(data->userName(name), 1);
  EXPECT_EQ(data->userName(name), 1);
}

TEST(MemoryHostFaults, ThrowOnRaisesBadAlloc) {
  MemoryHost host;
  host.faults().throwOn(HostOperation::ValuesItem);
  std::shared_ptr<IValues> values;
  ASSERT_EQ(host.releaseData()->values(values), resultOk);
  std::shared_ptr<IValue> value;
  EXPECT_THROW((void)values->item(1, value), std::bad_alloc);
}

TEST(MemoryHost, CustomPropertiesKeepExactNamesAndRefuseDuplicates) {
  MemoryHost host;
  std::shared_ptr<ICustomProperties> properties;
  ASSERT_EQ(host.setupData()->customProperties(properties), resultOk);
  EXPECT_EQ(properties->add(u"serverURL", u"http://a"), resultOk);
  EXPECT_NE(properties->add(u"serverURL", u"http://b"), resultOk);
  std::shared_ptr<ICustomProperty> property;
  EXPECT_NE(properties->item(u"serverurl", property), resultOk);
  EXPECT_NE(properties->remove(u"missing"), resultOk);
  ASSERT_EQ(properties->item(u"serverURL", property), resultOk);
  std::u16string value;
  EXPECT_EQ(property->value(value), resultOk);
  EXPECT_EQ(value, u"http://a");
}

TEST(MemoryHost, PositionsAreOneBased) {
  MemoryHost host;
  host.setDocumentValues({MemoryValue{u"PARM1", u"A", u"", {}}, MemoryValue{u"PARM2", u"B", u"", {}}});
  std::shared_ptr<IValues> values;
  ASSERT_EQ(host.releaseData()->values(values), resultOk);
  std::shared_ptr<IValue> value;
  EXPECT_NE(values->item(0, value), resultOk);
  EXPECT_NE(values->item(3, value), resultOk);
  ASSERT_EQ(values->item(2, value), resultOk);
  std::u16string text;
  EXPECT_EQ(value->value(text), resultOk);
  EXPECT_EQ(text, u"B");
}

TEST(MemoryHost, RowValuesOnlyForKeyZeroAndCanLackTheInterface) {
  MemoryHost host;
  host.setDocumentValues({MemoryValue{u"PARM5", u"", u"Items", {u"r1", u"r2"}}});
  std::shared_ptr<IValues> values;
  std::shared_ptr<IValue> value;
  ASSERT_EQ(host.releaseData()->values(values), resultOk);
  ASSERT_EQ(values->item(1, value), resultOk);
  std::shared_ptr<IRowValues> rows;
  EXPECT_NE(value->rowValues(1, rows), resultOk);
  ASSERT_EQ(value->rowValues(0, rows), resultOk);
  ASSERT_NE(rows, nullptr);
  std::int32_t count = 0;
  EXPECT_EQ(rows->count(count), resultOk);
  EXPECT_EQ(count, 2);

  host.faults().fail(HostOperation::RowValuesInterface, failure);
  EXPECT_EQ(value->rowValues(0, rows), resultOk);
  EXPECT_EQ(rows, nullptr);
}

TEST(MemoryHost, RecordsEventsInOrderAndTellsTheObserver) {
  MemoryHost host;
  std::vector<HostEvent::Kind> seen;
  host.setEventObserver([&](const HostEvent& event) { seen.push_back(event.kind); });
  auto data = host.releaseData();
  (void)data->logError(1, 0, 0, u"m", u".\\releaseScript", 238);
  (void)data->sendMessage(u"m", 1, KFX_REL_DOC_ERROR);
  ASSERT_EQ(host.events().size(), 2u);
  EXPECT_EQ(host.events()[0].lineNumber, 238);
  EXPECT_EQ(host.events()[1].infoRet, KFX_REL_DOC_ERROR);
  EXPECT_EQ(seen, (std::vector{HostEvent::Kind::LogError, HostEvent::Kind::SendMessage}));

  host.faults().fail(HostOperation::LogError, failure);
  EXPECT_EQ(data->logError(0, 0, 0, u"lost", u"", 0), failure);
  EXPECT_EQ(host.events().size(), 2u);
}

TEST(MemoryHost, ApplySnapshotsTheRecord) {
  MemoryHost host;
  auto setup = host.setupData();
  EXPECT_EQ(setup->setName(u"Invoices to AS400"), resultOk);
  EXPECT_FALSE(host.appliedRecord().has_value());
  EXPECT_EQ(setup->apply(), resultOk);
  EXPECT_EQ(setup->setName(u"changed later"), resultOk);
  ASSERT_TRUE(host.appliedRecord().has_value());
  EXPECT_EQ(host.appliedRecord()->name, u"Invoices to AS400");
  EXPECT_EQ(host.applyCount(), 1);
}

TEST(MemoryHost, ValueNamesEnumerateToTheEndOrLackTheInterface) {
  MemoryHost host;
  host.record().batchVariableNames = {u"Batch Name", u"Scan Operator"};
  auto setup = host.setupData();
  std::shared_ptr<IValueNameCollection> names;
  ASSERT_EQ(setup->batchVariableNames(names), resultOk);
  std::shared_ptr<IValueNameEnumerator> enumerator;
  ASSERT_EQ(names->enumerator(enumerator), resultOk);
  std::vector<std::u16string> read;
  for (std::optional<std::u16string> name; hostSucceeded(enumerator->next(name)) && name;) read.push_back(*name);
  EXPECT_EQ(read, host.record().batchVariableNames);

  host.faults().fail(HostOperation::ValueNamesInterface, failure);
  EXPECT_EQ(setup->batchVariableNames(names), resultOk);
  EXPECT_EQ(names, nullptr);
}

TEST(MemoryHost, LinksKeepTheOrderAdded) {
  MemoryHost host;
  std::shared_ptr<ILinks> links;
  ASSERT_EQ(host.setupData()->links(links), resultOk);
  (void)links->add(u"B", KFX_REL_INDEXFIELD, u"PARM2");
  (void)links->add(u"A", KFX_REL_TEXTCONSTANT, u"PARM1");
  EXPECT_EQ(host.record().links, (std::vector<MemoryLink>{{u"B", KFX_REL_INDEXFIELD, u"PARM2"},
                                                          {u"A", KFX_REL_TEXTCONSTANT, u"PARM1"}}));
  EXPECT_EQ(links->removeAll(), resultOk);
  EXPECT_TRUE(host.record().links.empty());
}

}  // namespace
}  // namespace quorlex
