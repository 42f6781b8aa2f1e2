#include "setup/general_page.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "setup/parameter_table.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"
#include "tests/support/table_rows.h"

namespace quorlex {

void PrintTo(const GeneralFields& fields, std::ostream* out) {
  for (const GeneralFieldControl& field : generalFieldControls) *out << '[' << toUtf8(fields.*field.member) << ']';
}

namespace {

using test_support::FixedVersionSource;
using test_support::PrintTo;
using test_support::hostFailure;
using Properties = std::vector<std::pair<std::u16string, std::u16string>>;
namespace id = generalControl;

class GeneralPageTest : public testing::Test, protected test_support::HostWithTable {
 protected:
  void SetUp() override {
    page.setTable(&table);
    page.attachControls(&controls);
    host.record().batchClassName = u"Invoices";
    host.record().docClassName = u"Invoice";
  }

  void storeEverything() {
    host.record().name = u"AS400 Invoices";
    host.record().userName = u"QUSER";
    host.record().password = u"secret";
    host.record().customProperties = {{u"serverURL", u"http://gw:8080"},
                                      {u"ExitProgramProgram", u"INVPGM"},
                                      {u"ExitProgramLibrary", u"QGPL"},
                                      {u"ExitProgramDelimiter", u";"}};
  }

  void type(std::initializer_list<std::pair<std::int32_t, std::u16string_view>> edits) {
    for (const auto& [control, text] : edits) controls.setText(control, text);
  }

  FixedVersionSource version;
  ControlTexts controls;
  CPropertyPageSetupGeneral page{version};
};

TEST(GeneralFieldControls, MoveTheTenTextsInTheirOrder) {
  std::vector<std::int32_t> ids;
  for (const GeneralFieldControl& field : generalFieldControls) ids.push_back(field.controlId);
  EXPECT_EQ(ids, (std::vector<std::int32_t>{11003, 11005, 11002, 11017, 11024, 11025, 11030, 11028, 11032, 11060}));
}

TEST_F(GeneralPageTest, InitialisationLoadsEveryFieldIntoItsControl) {
  storeEverything();
  EXPECT_TRUE(page.onInitDialog());
  EXPECT_EQ(page.fields(), (GeneralFields{u"Invoices", u"Invoice", u"AS400 Invoices", u"http://gw:8080", u"QUSER", u"secret",
                                          u"INVPGM", u"QGPL", u";", u"1.0.0"}));
  EXPECT_EQ(controls.text(id::batchClassName), u"Invoices");
  EXPECT_EQ(controls.text(id::docClassName), u"Invoice");
  EXPECT_EQ(controls.text(id::instanceName), u"AS400 Invoices");
  EXPECT_EQ(controls.text(id::serverURL), u"http://gw:8080");
  EXPECT_EQ(controls.text(id::userName), u"QUSER");
  EXPECT_EQ(controls.text(id::password), u"secret");
  EXPECT_EQ(controls.text(id::exitProgramName), u"INVPGM");
  EXPECT_EQ(controls.text(id::exitProgramLibrary), u"QGPL");
  EXPECT_EQ(controls.text(id::delimiter), u";");
  EXPECT_EQ(controls.limit(id::delimiter), 1u);
  // Without a version resource the version line stays hidden.
  EXPECT_FALSE(controls.isShown(id::versionLabel));
  EXPECT_FALSE(controls.isShown(id::versionText));
}

TEST_F(GeneralPageTest, VersionLineIsShownWhenTheVersionCanBeRead) {
  version.block = FixedVersionBlock{fixedVersionSignature, 0x00020003, 0x00040005};
  page.onInitDialog();
  EXPECT_TRUE(controls.isShown(id::versionLabel));
  EXPECT_TRUE(controls.isShown(id::versionText));
  EXPECT_EQ(controls.text(id::versionText), u"2.3.4");
}

TEST_F(GeneralPageTest, LoadReadsInOrder) {
  storeEverything();
  // serverURL is the first custom property read, after the three record texts.
  host.faults().fail(HostOperation::CustomPropertiesItem, hostFailure, 1);
  host.faults().fail(HostOperation::SetupName, hostFailure);
  EXPECT_TRUE(page.loadSettings());
  EXPECT_EQ(page.fields().instanceName, u"");
  EXPECT_EQ(page.fields().serverURL, u"");
  EXPECT_EQ(page.fields().exitProgramName, u"INVPGM");
  EXPECT_EQ(host.faults().calls(HostOperation::CustomPropertiesItem), 4);
}

struct ReadFailureCase {
  const char* name;
  HostOperation operation;
  std::u16string GeneralFields::*emptied;
};

class GeneralPageReadFailure : public GeneralPageTest, public testing::WithParamInterface<ReadFailureCase> {};

TEST_P(GeneralPageReadFailure, GivesAnEmptyFieldAndTheRestAsStored) {
  storeEverything();
  host.faults().fail(GetParam().operation, hostFailure);
  EXPECT_TRUE(page.loadSettings());
  GeneralFields expected{u"Invoices", u"Invoice", u"AS400 Invoices", u"http://gw:8080", u"QUSER", u"secret",
                         u"INVPGM", u"QGPL", u";", u""};
  expected.*GetParam().emptied = u"";
  EXPECT_EQ(page.fields(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneralPageReadFailure,
                         testing::Values(ReadFailureCase{"batchClass", HostOperation::SetupBatchClassName, &GeneralFields::batchClassName},
                                         ReadFailureCase{"docClass", HostOperation::SetupDocClassName, &GeneralFields::docClassName},
                                         ReadFailureCase{"name", HostOperation::SetupName, &GeneralFields::instanceName},
                                         ReadFailureCase{"userName", HostOperation::SetupUserName, &GeneralFields::userName},
                                         ReadFailureCase{"password", HostOperation::SetupPassword, &GeneralFields::password}),
                         [](const auto& info) { return info.param.name; });

TEST_F(GeneralPageTest, UnreadableCustomPropertiesGiveEmptyTextsAndTheDelimiterBar) {
  storeEverything();
  host.faults().fail(HostOperation::SetupCustomProperties, hostFailure);
  EXPECT_TRUE(page.loadSettings());
  EXPECT_EQ(page.fields().serverURL, u"");
  EXPECT_EQ(page.fields().exitProgramName, u"");
  EXPECT_EQ(page.fields().exitProgramLibrary, u"");
  EXPECT_EQ(page.fields().delimiter, u"|");
}

struct DelimiterCase {
  const char* name;
  std::u16string_view stored;
  std::u16string_view shown;
};

class ShownDelimiter : public testing::TestWithParam<DelimiterCase> {};

TEST_P(ShownDelimiter, IsOneCharacter) { EXPECT_EQ(shownDelimiter(GetParam().stored), GetParam().shown); }

INSTANTIATE_TEST_SUITE_P(Cases, ShownDelimiter,
                         testing::Values(DelimiterCase{"empty", u"", u"|"}, DelimiterCase{"one", u";", u";"},
                                         DelimiterCase{"doubled", u";;", u";"}, DelimiterCase{"long", u"abc", u"a"},
                                         DelimiterCase{"space", u" ", u" "},
                                         DelimiterCase{"surrogatePair", u"\U0001F600x", u"\U0001F600"},
                                         DelimiterCase{"loneSurrogate", u"\xD800x", u"\xD800"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(GeneralPageTest, NeverSetUpRecordOpensEmptyWithBarAndStoresThat) {
  host.record().batchClassName.clear();
  host.record().docClassName.clear();
  page.onInitDialog();
  EXPECT_EQ(page.fields(), (GeneralFields{u"", u"", u"", u"", u"", u"", u"", u"", u"|", u"1.0.0"}));
  EXPECT_TRUE(page.saveSettings());
  EXPECT_EQ(host.record().customProperties, (Properties{{u"serverURL", u""},
                                                        {u"ExitProgramProgram", u""},
                                                        {u"ExitProgramLibrary", u""},
                                                        {u"ExitProgramDelimiter", u"|"}}));
}

TEST_F(GeneralPageTest, DoubledDelimiterIsStoredAsOneAfterOk) {
  host.record().customProperties = {{u"ExitProgramDelimiter", u";;"}};
  page.onInitDialog();
  EXPECT_EQ(controls.text(id::delimiter), u";");
  page.saveSettings();
  EXPECT_EQ(host.record().customProperties.back(), (std::pair<std::u16string, std::u16string>{u"ExitProgramDelimiter", u";"}));
}

TEST_F(GeneralPageTest, SaveWritesTheEditedControlsInOrderAsTyped) {
  storeEverything();
  page.onInitDialog();
  type({{id::instanceName, u"  Renamed "},
        {id::serverURL, u"https://gw.example:443"},
        {id::userName, u""},
        {id::password, u"p@ss word"},
        {id::exitProgramName, u"NEWPGM"},
        {id::exitProgramLibrary, u"MYLIB"},
        {id::delimiter, u""},
        {id::batchClassName, u"typed into a label"}});
  EXPECT_TRUE(page.saveSettings());
  EXPECT_EQ(host.record().name, u"  Renamed ");
  EXPECT_EQ(host.record().userName, u"");
  EXPECT_EQ(host.record().password, u"p@ss word");
  EXPECT_EQ(host.record().batchClassName, u"Invoices");  // read only
  // Each property is removed and added again, so the order of the list is the write order.
  EXPECT_EQ(host.record().customProperties, (Properties{{u"serverURL", u"https://gw.example:443"},
                                                        {u"ExitProgramProgram", u"NEWPGM"},
                                                        {u"ExitProgramLibrary", u"MYLIB"},
                                                        {u"ExitProgramDelimiter", u""}}));
  EXPECT_EQ(host.applyCount(), 0);  // the setup script applies
}

TEST_F(GeneralPageTest, ALongerDelimiterIsRefusedAndNothingIsWritten) {
  storeEverything();
  page.onInitDialog();
  SetupRecord before = host.record();
  controls.setText(id::instanceName, u"Renamed");
  controls.setText(id::delimiter, u";;");
  EXPECT_FALSE(page.onKillActive());
  EXPECT_EQ(controls.refusedControl(), id::delimiter);
  EXPECT_EQ(controls.refusal(), u"Enter no more than 1 characters.");
  EXPECT_FALSE(page.saveSettings());
  EXPECT_EQ(host.record(), before);
  controls.setText(id::delimiter, u"\U0001F600");  // one character in two units
  EXPECT_TRUE(page.onKillActive());
  EXPECT_EQ(page.fields().instanceName, u"Renamed");
}

struct WriteFailureCase {
  const char* name;
  HostOperation operation;
  int onCall;
};

class GeneralPageWriteFailure : public GeneralPageTest, public testing::WithParamInterface<WriteFailureCase> {};

TEST_P(GeneralPageWriteFailure, SkipsOnlyThatWrite) {
  page.onInitDialog();
  type({{id::instanceName, u"N"},
        {id::serverURL, u"U"},
        {id::userName, u"QUSER"},
        {id::password, u"P"},
        {id::exitProgramName, u"PGM"},
        {id::exitProgramLibrary, u"LIB"},
        {id::delimiter, u";"}});
  host.faults().fail(GetParam().operation, hostFailure, GetParam().onCall);
  EXPECT_TRUE(page.saveSettings());
  const SetupRecord& record = host.record();
  std::size_t written = record.customProperties.size();
  bool propertiesFail = GetParam().operation == HostOperation::CustomPropertiesAdd ||
                        GetParam().operation == HostOperation::SetupCustomProperties;
  EXPECT_EQ(record.name, GetParam().operation == HostOperation::SetupSetName ? u"" : u"N");
  EXPECT_EQ(record.userName, GetParam().operation == HostOperation::SetupSetUserName ? u"" : u"QUSER");
  EXPECT_EQ(record.password, GetParam().operation == HostOperation::SetupSetPassword ? u"" : u"P");
  if (GetParam().operation == HostOperation::SetupCustomProperties) {
    EXPECT_EQ(written, 0u);
  } else {
    EXPECT_EQ(written, propertiesFail ? 3u : 4u);
    EXPECT_EQ(record.customProperties.back().first, u"ExitProgramDelimiter");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneralPageWriteFailure,
                         testing::Values(WriteFailureCase{"name", HostOperation::SetupSetName, 0},
                                         WriteFailureCase{"userName", HostOperation::SetupSetUserName, 0},
                                         WriteFailureCase{"password", HostOperation::SetupSetPassword, 0},
                                         WriteFailureCase{"firstProperty", HostOperation::CustomPropertiesAdd, 1},
                                         WriteFailureCase{"properties", HostOperation::SetupCustomProperties, 0}),
                         [](const auto& info) { return info.param.name; });

TEST_F(GeneralPageTest, WithoutATableNothingIsLoadedOrSaved) {
  storeEverything();
  CPropertyPageSetupGeneral bare(version);
  bare.attachControls(&controls);
  EXPECT_TRUE(bare.onInitDialog());
  GeneralFields versionOnly;
  versionOnly.versionText = u"1.0.0";  // set by the failed version read, never shown
  EXPECT_EQ(bare.fields(), versionOnly);
  EXPECT_FALSE(bare.saveSettings());
  EXPECT_EQ(host.faults().calls(HostOperation::SetupSetName), 0);
}

TEST_F(GeneralPageTest, WithoutSetupDataNothingIsLoadedOrSaved) {
  std::shared_ptr<IReleaseSetupData> none;
  CParameterTable empty(none);
  page.setTable(&empty);
  EXPECT_FALSE(page.loadSettings());
  EXPECT_EQ(page.fields(), GeneralFields{});
  EXPECT_FALSE(page.saveSettings());
}

TEST_F(GeneralPageTest, ComingBackToThePageShowsTheMembersAgain) {
  storeEverything();
  page.onInitDialog();
  EXPECT_TRUE(page.onSetActive());
  controls.setText(id::exitProgramName, u"EDITED");
  EXPECT_TRUE(page.onKillActive());
  controls.setText(id::exitProgramName, u"scribbled after leaving");
  EXPECT_TRUE(page.onSetActive());
  EXPECT_EQ(controls.text(id::exitProgramName), u"EDITED");
}

}  // namespace
}  // namespace quorlex
