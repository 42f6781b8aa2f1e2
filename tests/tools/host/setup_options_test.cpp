#include "tools/host/setup_options.h"

#include <gtest/gtest.h>

#include <vector>

#include "setup/general_page.h"
#include "tests/support/table_rows.h"

namespace quorlex::host {
namespace {

using test_support::PrintTo;

std::optional<SetupOptions> parse(std::vector<std::string_view> arguments, std::string& error) {
  return parseSetupOptions(arguments, error);
}

TEST(SetupOptions, ChangesKeepTheirValuesAndOrderAsGiven) {
  std::string error;
  std::optional<SetupOptions> options =
      parse({"--map", "PARM2=value:Batch Name", "h.json", "--set", "ExitProgramDelimiter=;", "--set", "Password=a=b",
             "--map", "PARM1=text:x:y", "--map", "PARM3=none", "--map", "PARM4=index:Vendor", "--show"},
            error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->path, "h.json");
  EXPECT_TRUE(options->show);
  ASSERT_EQ(options->changes.settings.size(), 2u);
  EXPECT_EQ(options->changes.settings[0].controlId, generalControl::delimiter);
  EXPECT_EQ(options->changes.settings[0].value, u";");
  EXPECT_EQ(options->changes.settings[1].controlId, generalControl::password);
  EXPECT_EQ(options->changes.settings[1].value, u"a=b");
  const std::vector<ParameterMapping>& mappings = options->changes.mappings;
  ASSERT_EQ(mappings.size(), 4u);
  EXPECT_EQ(mappings[0].parameter, u"PARM2");
  EXPECT_EQ(mappings[0].source, MappingSource::CaptureValue);
  EXPECT_EQ(mappings[0].text, u"Batch Name");
  EXPECT_EQ(mappings[1].source, MappingSource::TextConstant);
  EXPECT_EQ(mappings[1].text, u"x:y");
  EXPECT_EQ(mappings[2].source, MappingSource::None);
  EXPECT_EQ(mappings[2].text, u"");
  EXPECT_EQ(mappings[3].source, MappingSource::IndexField);
  EXPECT_EQ(mappings[3].argument, "PARM4=index:Vendor");
}

TEST(SetupOptions, EveryStoredNameOfTheGeneralPageIsAKey) {
  const std::vector<std::pair<std::string, std::int32_t>> keys{
      {"Name", generalControl::instanceName},         {"serverURL", generalControl::serverURL},
      {"UserName", generalControl::userName},         {"Password", generalControl::password},
      {"ExitProgramProgram", generalControl::exitProgramName},
      {"ExitProgramLibrary", generalControl::exitProgramLibrary},
      {"ExitProgramDelimiter", generalControl::delimiter}};
  for (const auto& [key, control] : keys) {
    std::string error;
    std::string setting = key + "=";
    std::optional<SetupOptions> options = parse({"h.json", "--set", setting}, error);
    ASSERT_TRUE(options) << key << ": " << error;
    EXPECT_EQ(options->changes.settings.at(0).controlId, control) << key;
    EXPECT_EQ(options->changes.settings.at(0).value, u"") << key;
  }
}

TEST(SetupOptions, HelpNeedsNothingElse) {
  for (std::string_view help : {"--help", "-h"}) {
    std::string error;
    std::optional<SetupOptions> options = parse({help}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_TRUE(options->help);
  }
}

struct BadCase {
  const char* name;
  std::vector<std::string_view> arguments;
  std::string message;
};

class SetupOptionsRefused : public testing::TestWithParam<BadCase> {};

TEST_P(SetupOptionsRefused, WithOneMessage) {
  std::string error;
  EXPECT_FALSE(parse(GetParam().arguments, error));
  EXPECT_EQ(error, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupOptionsRefused,
    testing::Values(
        BadCase{"no_file", {"--show"}, "setup needs a host file"},
        BadCase{"nothing_to_do", {"h.json"}, "setup needs --show, --set or --map"},
        BadCase{"two_files", {"h.json", "g.json", "--show"}, "unexpected argument \"g.json\""},
        BadCase{"unknown_option", {"h.json", "--json"}, "unexpected argument \"--json\""},
        BadCase{"set_without_value", {"h.json", "--set"}, "--set needs KEY=VALUE"},
        BadCase{"map_without_value", {"h.json", "--map"}, "--map needs PARMn=SOURCE"},
        BadCase{"set_without_equals", {"h.json", "--set", "Name"}, "--set needs KEY=VALUE, not \"Name\""},
        BadCase{"unknown_key",
                {"h.json", "--set", "password=x"},
                "--set: unknown field \"password\"; the fields are Name, serverURL, UserName, Password, "
                "ExitProgramProgram, ExitProgramLibrary and ExitProgramDelimiter"},
        BadCase{"read_only_field",
                {"h.json", "--set", "BatchClassName=x"},
                "--set: unknown field \"BatchClassName\"; the fields are Name, serverURL, UserName, Password, "
                "ExitProgramProgram, ExitProgramLibrary and ExitProgramDelimiter"},
        BadCase{"key_twice", {"h.json", "--set", "Password=a", "--set", "Password=b"}, "--set Password is given twice"},
        BadCase{"not_utf8", {"h.json", "--set", "Name=\xC3("}, "--set Name: the value is not valid UTF-8"},
        BadCase{"map_without_equals",
                {"h.json", "--map", "PARM1"},
                "--map needs PARMn=index:NAME, PARMn=value:NAME, PARMn=text:TEXT or PARMn=none, not \"PARM1\""},
        BadCase{"map_without_parameter",
                {"h.json", "--map", "=none"},
                "--map needs PARMn=index:NAME, PARMn=value:NAME, PARMn=text:TEXT or PARMn=none, not \"=none\""},
        BadCase{"unknown_source",
                {"h.json", "--map", "PARM1=field:INV"},
                "--map PARM1=field:INV: the source is index:NAME, value:NAME, text:TEXT or none"},
        BadCase{"none_with_text",
                {"h.json", "--map", "PARM1=none:x"},
                "--map PARM1=none:x: the source is index:NAME, value:NAME, text:TEXT or none"},
        BadCase{"empty_index_name", {"h.json", "--map", "PARM1=index:"}, "--map PARM1=index:: the source needs a name"},
        BadCase{"empty_constant",
                {"h.json", "--map", "PARM3=text:"},
                "--map PARM3=text:: an empty text constant is not stored; use PARM3=none to leave it unmapped"},
        BadCase{"parameter_twice",
                {"h.json", "--map", "PARM1=none", "--map", "PARM1=text:x"},
                "--map PARM1 is given twice"},
        BadCase{"map_not_utf8", {"h.json", "--map", "PARM1=text:\xFF"}, "--map: \"PARM1=text:\xFF\" is not valid UTF-8"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorlex::host
