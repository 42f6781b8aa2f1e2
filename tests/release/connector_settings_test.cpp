#include "release/connector_settings.h"

#include <gtest/gtest.h>

#include "testhost/memory_host.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;

constexpr ResultCode failure = static_cast<ResultCode>(0x80040001);

struct ReadFailureCase {
  const char* name;
  HostOperation operation;
};

class ReadCustomPropertyFailure : public testing::TestWithParam<ReadFailureCase> {};

TEST_P(ReadCustomPropertyFailure, GivesTheDefaultAndFalse) {
  MemoryHost host;
  host.record().customProperties = {{u"serverURL", u"http://gw"}};
  host.faults().fail(GetParam().operation, failure);
  std::u16string result = u"stale";
  EXPECT_FALSE(readCustomProperty(*host.releaseData(), u"serverURL", u"fallback", result));
  EXPECT_EQ(result, u"fallback");
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadCustomPropertyFailure,
                         testing::Values(ReadFailureCase{"collection", HostOperation::ReleaseCustomProperties},
                                         ReadFailureCase{"item", HostOperation::CustomPropertiesItem},
                                         ReadFailureCase{"value", HostOperation::CustomPropertyValue}),
                         [](const auto& info) { return info.param.name; });

TEST(ReadCustomProperty, FindsTheExactNameOnBothRecords) {
  MemoryHost host;
  host.record().customProperties = {{u"serverURL", u"http://gw"}};
  std::u16string result;
  EXPECT_TRUE(readCustomProperty(*host.releaseData(), u"serverURL", u"", result));
  EXPECT_EQ(result, u"http://gw");
  EXPECT_TRUE(readCustomProperty(*host.setupData(), u"serverURL", u"", result));
  EXPECT_EQ(result, u"http://gw");
  EXPECT_FALSE(readCustomProperty(*host.releaseData(), u"ServerURL", u"", result));
  EXPECT_EQ(result, u"");
}

TEST(WriteCustomProperty, WritingTwiceLeavesOnePropertyWithTheSecondValue) {
  MemoryHost host;
  auto setup = host.setupData();
  EXPECT_TRUE(writeCustomProperty(*setup, u"ExitProgramProgram", u"OLD"));
  EXPECT_TRUE(writeCustomProperty(*setup, u"ExitProgramProgram", u"NEW"));
  EXPECT_EQ(host.record().customProperties,
            (std::vector<std::pair<std::u16string, std::u16string>>{{u"ExitProgramProgram", u"NEW"}}));
}

TEST(WriteCustomProperty, ReportsOnlyTheAdd) {
  MemoryHost host;
  auto setup = host.setupData();
  host.faults().fail(HostOperation::CustomPropertiesRemove, failure);
  EXPECT_TRUE(writeCustomProperty(*setup, u"serverURL", u"http://gw"));
  host.faults().clear();
  host.faults().fail(HostOperation::CustomPropertiesAdd, failure);
  EXPECT_FALSE(writeCustomProperty(*setup, u"ExitProgramLibrary", u"QGPL"));
  host.faults().clear();
  host.faults().fail(HostOperation::SetupCustomProperties, failure);
  EXPECT_FALSE(writeCustomProperty(*setup, u"ExitProgramLibrary", u"QGPL"));
}

TEST(ConnectorSettingsRead, RecordNeverSetUpGivesSixEmptyTexts) {
  MemoryHost host;
  EXPECT_EQ(readConnectorSettings(*host.releaseData()), ConnectorSettings{});
}

TEST(ConnectorSettingsRead, ReadsEverySettingInOrder) {
  MemoryHost host;
  host.record().userName = u"QUSER";
  host.record().password = u"secret";
  host.record().customProperties = {{u"ExitProgramDelimiter", u""},
                                    {u"ExitProgramLibrary", u"QGPL"},
                                    {u"ExitProgramProgram", u"INVPGM"},
                                    {u"serverURL", u"http://127.0.0.1:8080"}};
  ConnectorSettings settings = readConnectorSettings(*host.releaseData());
  EXPECT_EQ(settings, (ConnectorSettings{u"http://127.0.0.1:8080", u"QUSER", u"secret", u"INVPGM", u"QGPL", u""}));
  // serverURL, then the three exit-program properties: four Item calls.
  EXPECT_EQ(host.faults().calls(HostOperation::CustomPropertiesItem), 4);
}

TEST(ConnectorSettingsRead, UnreadableCredentialsAreEmpty) {
  MemoryHost host;
  host.record().userName = u"QUSER";
  host.record().password = u"secret";
  host.faults().fail(HostOperation::ReleaseUserName, failure);
  host.faults().fail(HostOperation::ReleasePassword, failure);
  ConnectorSettings settings = readConnectorSettings(*host.releaseData());
  EXPECT_EQ(settings.userName, u"");
  EXPECT_EQ(settings.password, u"");
}

}  // namespace
}  // namespace quorlex
