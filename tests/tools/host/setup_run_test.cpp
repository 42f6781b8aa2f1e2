#include "tools/host/setup_run.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "setup/required_question.h"
#include "tests/support/table_rows.h"

namespace quorlex::host {
namespace {

using test_support::PrintTo;
using Properties = std::vector<std::pair<std::u16string, std::u16string>>;

std::vector<MemoryLink> withFixedLinks(std::vector<MemoryLink> links) {
  links.push_back({u"OriginalFolder", KFX_REL_BATCHFIELD, u"OriginalFolder"});
  links.push_back({u"First Page Original File Name", KFX_REL_VARIABLE, u"OriginalFileName"});
  links.push_back({u"OriginalFileNameExt", KFX_REL_BATCHFIELD, u"OriginalFileNameExt"});
  return links;
}

SetupRecord invoices() {
  SetupRecord record;
  record.batchClassName = u"Invoices";
  record.docClassName = u"Invoice";
  record.name = u"AP";
  record.userName = u"clerk";
  record.password = u"old";
  record.customProperties = {{u"serverURL", u"http://old"}, {u"Owner", u"finance"}, {u"ExitProgramDelimiter", u";;"}};
  record.indexFields = {u"InvoiceNumber", u"Vendor", u"Amount", u"Lines"};
  record.batchVariableNames = {u"Batch Name", u"Scan Operator"};
  record.links = {{u"InvoiceNumber", KFX_REL_INDEXFIELD, u"PARM1"},
                  {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"},
                  {u"stray", KFX_REL_TEXTCONSTANT, u"Elsewhere"}};
  return record;
}

FieldSetting set(std::int32_t control, std::u16string value) {
  std::string argument = toUtf8(setupFieldKey(control)) + "=" + toUtf8(value);
  return FieldSetting{control, std::move(value), argument};
}

ParameterMapping choice(std::u16string parameter, MappingSource source, std::u16string text = u"") {
  std::string argument = toUtf8(parameter) + "=...";
  return ParameterMapping{std::move(parameter), source, std::move(text), argument};
}

TEST(ConfirmSetup, MakesEveryChangeAndStoresAsTheSheetsOk) {
  SetupChanges changes;
  changes.settings = {set(generalControl::delimiter, u"#"), set(generalControl::serverURL, u"http://new"),
                      set(generalControl::password, u"")};
  changes.mappings = {choice(u"PARM5", MappingSource::IndexField, u"Vendor"),
                      choice(u"PARM3", MappingSource::CaptureValue, u"Scan Operator"),
                      choice(u"PARM2", MappingSource::TextConstant, u"AP %1"), choice(u"PARM1", MappingSource::None)};
  std::string error;
  std::optional<SetupRecord> applied = confirmSetup(invoices(), changes, error);
  ASSERT_TRUE(applied) << error;
  SetupRecord expected = invoices();
  expected.password = u"";
  // Each property the General page writes is removed and added again, so it moves to the end.
  expected.customProperties = {{u"Owner", u"finance"},
                               {u"serverURL", u"http://new"},
                               {u"ExitProgramProgram", u""},
                               {u"ExitProgramLibrary", u""},
                               {u"ExitProgramDelimiter", u"#"}};
  expected.links = withFixedLinks({{u"AP %1", KFX_REL_TEXTCONSTANT, u"PARM2"},
                                   {u"Scan Operator", KFX_REL_VARIABLE, u"PARM3"},
                                   {u"Vendor", KFX_REL_INDEXFIELD, u"PARM5"},
                                   {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"}});
  EXPECT_EQ(*applied, expected);
}

TEST(ConfirmSetup, AnyChangeConfirmsTheWholeSheet) {
  // Untouched fields are stored as the page shows them: the delimiter ";;" as ";"; and the
  // links are rewritten, without the stray one and with the fixed three.
  SetupChanges changes;
  changes.settings = {set(generalControl::userName, u"QUSER")};
  std::string error;
  std::optional<SetupRecord> applied = confirmSetup(invoices(), changes, error);
  ASSERT_TRUE(applied) << error;
  EXPECT_EQ(applied->userName, u"QUSER");
  EXPECT_EQ(applied->customProperties.back(), (std::pair<std::u16string, std::u16string>{u"ExitProgramDelimiter", u";"}));
  EXPECT_EQ(applied->links, withFixedLinks({{u"InvoiceNumber", KFX_REL_INDEXFIELD, u"PARM1"},
                                            {u"Folder", KFX_REL_BATCHFIELD, u"PARM7"}}));
}

TEST(ConfirmSetup, ADelimiterOfOneCharacterMayBeTwoUnits) {
  SetupChanges changes;
  changes.settings = {set(generalControl::delimiter, u"\U0001F600")};
  std::string error;
  std::optional<SetupRecord> applied = confirmSetup(invoices(), changes, error);
  ASSERT_TRUE(applied) << error;
  EXPECT_EQ(applied->customProperties.back().second, u"\U0001F600");
}

struct RefusedCase {
  const char* name;
  std::function<void(SetupRecord&)> record;
  SetupChanges changes;
  std::string message;
};

class ConfirmSetupRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(ConfirmSetupRefused, AppliesNothing) {
  SetupRecord record = invoices();
  if (GetParam().record) GetParam().record(record);
  std::string error;
  EXPECT_FALSE(confirmSetup(record, GetParam().changes, error));
  EXPECT_EQ(error, GetParam().message);
}

SetupChanges choosing(ParameterMapping one) { return SetupChanges{{}, {std::move(one)}}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfirmSetupRefused,
    testing::Values(
        RefusedCase{"long_delimiter", nullptr,
                    SetupChanges{{set(generalControl::delimiter, u"::")}, {choice(u"PARM1", MappingSource::IndexField, u"Nope")}},
                    "--set ExitProgramDelimiter=:: refused: Enter no more than 1 characters."},
        RefusedCase{"unknown_index_field", nullptr, choosing(choice(u"PARM1", MappingSource::IndexField, u"vendor")),
                    "--map PARM1=... refused: \"vendor\" is not one of the \"Document Index Fields\" (the host file's indexFields)"},
        RefusedCase{"unknown_value", nullptr, choosing(choice(u"PARM1", MappingSource::CaptureValue, u"Vendor")),
                    "--map PARM1=... refused: \"Vendor\" is not one of the \"Kofax Capture Values\" (the host file's "
                    "batchVariableNames)"},
        RefusedCase{"no_values_offered", [](SetupRecord& r) { r.batchVariableNames.clear(); },
                    choosing(choice(u"PARM1", MappingSource::CaptureValue, u"Batch Name")),
                    "--map PARM1=... refused: \"Batch Name\" is not one of the \"Kofax Capture Values\" (the host file's "
                    "batchVariableNames)"},
        RefusedCase{"index_field_past_the_menus_range",
                    [](SetupRecord& r) {
                      r.indexFields.clear();
                      for (int n = 1; n <= 256; ++n) r.indexFields.push_back(u"F" + decimalText(n));
                    },
                    choosing(choice(u"PARM1", MappingSource::IndexField, u"F256")),
                    "--map PARM1=... refused: \"F256\" is not one of the \"Document Index Fields\" (the host file's indexFields)"},
        RefusedCase{"lower_case_parameter", nullptr, choosing(choice(u"parm1", MappingSource::None)),
                    "--map parm1=... refused: there is no parameter \"parm1\"; the parameters are PARM1 to PARM20"},
        RefusedCase{"parameter_21", nullptr, choosing(choice(u"PARM21", MappingSource::None)),
                    "--map PARM21=... refused: there is no parameter \"PARM21\"; the parameters are PARM1 to PARM20"}),
    [](const auto& info) { return info.param.name; });

TEST(ConfirmSetup, TheLastOfTheMenusRangeIsOffered) {
  SetupRecord record = invoices();
  record.indexFields.clear();
  for (int n = 1; n <= 255; ++n) record.indexFields.push_back(u"F" + decimalText(n));
  std::string error;
  std::optional<SetupRecord> applied = confirmSetup(record, choosing(choice(u"PARM1", MappingSource::IndexField, u"F255")), error);
  ASSERT_TRUE(applied) << error;
  EXPECT_EQ(applied->links.front(), (MemoryLink{u"F255", KFX_REL_INDEXFIELD, u"PARM1"}));
}

class NoVersion final : public IVersionSource {
 public:
  std::optional<FixedVersionBlock> fixedVersionBlock() override { return std::nullopt; }
};

// The sheet over a table that marks Parameter 4 as required, which the system's own table
// never does; the question goes through the task-dialog client and nobody answers it.
class RequiredParameter : public testing::Test {
 protected:
  bool confirm(const SetupChanges& changes) {
    host.record() = invoices();
    CParameterTable table(data);
    table.fillDefaults();
    table.row(3).required = 1;
    table.loadLinks();
    table.loadValueNames();
    NoVersion version;
    CPropertyPageSetupGeneral general(version);
    CPropertyPageSetupMapping mapping(
        [](std::u16string_view name) { return askRequiredFields(unattendedQuestions(), name); });
    general.setTable(&table);
    mapping.setTable(&table);
    HeadlessSheet sheet([&](HeadlessSheetSession& session) { return playConfirmation(changes, session, error); });
    return sheet.runModal(SetupSheetLayout{}, SetupSheetPages{general, mapping});
  }

  MemoryHost host;
  std::shared_ptr<IReleaseSetupData> data = host.setupData();
  std::string error;
};

TEST_F(RequiredParameter, LeftUnmappedItKeepsTheSheetOpen) {
  EXPECT_FALSE(confirm(SetupChanges{{set(generalControl::userName, u"x")}, {choice(u"PARM1", MappingSource::None)}}));
  EXPECT_EQ(error, "Required field not Mapped: Parameter 4 (PARM4) is marked as required; map it with --map PARM4=...");
  EXPECT_EQ(host.record(), invoices());  // nothing was written
}

TEST_F(RequiredParameter, MappedItLetsTheSheetClose) {
  for (const ParameterMapping& choice : {choice(u"PARM4", MappingSource::IndexField, u"Lines"),
                                         choice(u"PARM4", MappingSource::TextConstant, u"x")}) {
    error.clear();
    EXPECT_TRUE(confirm(SetupChanges{{}, {choice}})) << error;
  }
}

TEST(DescribeSetup, ShowsWhatTheSheetShows) {
  SetupRecord record;
  record.batchClassName = u"Invoices";
  record.docClassName = u"Invoice";
  record.password = u"s3cret";
  record.customProperties = {{u"serverURL", u"http://127.0.0.1:8080"}, {u"ExitProgramProgram", u"INVPGM"}};
  record.indexFields = {u"Größe", u"Vendor"};
  record.links = {{u"Größe", KFX_REL_INDEXFIELD, u"PARM1"},
                  {u"Folder", KFX_REL_BATCHFIELD, u"PARM2"},
                  {u"", KFX_REL_TEXTCONSTANT, u"PARM3"},
                  {u"AP", KFX_REL_TEXTCONSTANT, u"PARM10"}};
  std::string rows;
  for (int n = 4; n <= 20; ++n) {
    std::string number = std::to_string(n);
    std::string pad(n < 10 ? 1 : 0, ' ');
    if (n == 10) {
      rows += "    Parameter 10  AP      Text Constant                     PARM10 - CHAR(1024) / Parameter description.\n";
      continue;
    }
    rows += "    Parameter " + number + pad + "          No Mapping                        PARM" + number +
            " - CHAR(1024) / Parameter description.\n";
  }
  EXPECT_EQ(describeSetup(record),
            "Tressaly Export Connector for AS400 Setup\n"
            "\n"
            "General\n"
            "  Batch Class                             Invoices\n"
            "  Document Class                          Invoice\n"
            "  Export Connector Instance Name (Name)\n"
            "  Brenno Address (serverURL)              http://127.0.0.1:8080\n"
            "  Username (UserName)\n"
            "  Password (Password)                     ********\n"
            "  Exit Program Name (ExitProgramProgram)  INVPGM\n"
            "  Library (ExitProgramLibrary)\n"
            "  Delimiter (ExitProgramDelimiter)        |\n"
            "\n"
            "Data Mapping\n"
            "  Exit Program Parameters\n"
            "    Parameter 1   Größe   Document Index Field              PARM1 - CHAR(1024) / Parameter description.\n"
            "    Parameter 2   Folder  source type 3, kept as stored     PARM2 - CHAR(1024) / Parameter description.\n"
            "    Parameter 3           Text Constant, empty: not stored  PARM3 - CHAR(1024) / Parameter description.\n" +
                rows +
                "  Document Index Fields: Größe, Vendor\n"
                "  Kofax Capture Values: (none)\n");
}

}  // namespace
}  // namespace quorlex::host
