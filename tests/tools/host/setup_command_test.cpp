#include "tools/host/setup_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/table_rows.h"
#include "tools/host/host_file.h"
#include "tools/host/setup_options.h"

namespace quorlex::host {
namespace {

using test_support::PrintTo;
using Json = nlohmann::ordered_json;

const char* const hostFile = R"({
  "comment": "kept",
  "batchClassName": "Invoices",
  "docClassName": "Invoice",
  "indexFields": ["InvoiceNumber", "Vendor"],
  "setup": {
    "name": "AP",
    "future": [1, 2],
    "customProperties": { "serverURL": "http://old", "Owner": "finance", "ExitProgramDelimiter": "|" },
    "links": [{ "source": "InvoiceNumber", "sourceType": 0, "destination": "PARM1" }]
  },
  "documents": [{ "fields": { "InvoiceNumber": "INV-1" }, "note": "kept too" }]
}
)";

struct CommandRun {
  int status = -1;
  std::string out;
  std::string err;
};

class SetupCommand : public testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("quorlex-setup-command-" + std::to_string(::getpid()) + "-" +
              testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    path = (folder / "host.json").string();
    std::ofstream(path, std::ios::binary) << hostFile;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  CommandRun run(std::vector<std::string> arguments) {
    std::vector<std::string_view> views(arguments.begin(), arguments.end());
    std::ostringstream out, err;
    CommandRun result;
    result.status = runSetupCommand(views, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
  }

  std::string content() const {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  std::vector<std::string> folderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path folder;
  std::string path;
};

TEST_F(SetupCommand, StoresTheChangesAndKeepsWhatTheSetupDoesNotOwn) {
  CommandRun result = run({path, "--set", "serverURL=http://127.0.0.1:8080", "--map", "PARM2=index:Vendor", "--map",
                    "PARM1=text:AP"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  Json json = Json::parse(content());
  EXPECT_EQ(json["comment"], "kept");
  EXPECT_EQ(json["documents"][0]["note"], "kept too");
  EXPECT_EQ(json["setup"]["future"], Json::parse("[1, 2]"));
  EXPECT_FALSE(json.contains("batchVariableNames"));  // the host's, not added
  EXPECT_EQ(json["setup"]["customProperties"],
            Json::parse(R"({ "serverURL": "http://127.0.0.1:8080", "Owner": "finance", "ExitProgramDelimiter": "|",
                             "ExitProgramProgram": "", "ExitProgramLibrary": "" })"));
  EXPECT_EQ(json["setup"]["links"], Json::parse(R"([
      { "source": "AP", "sourceType": 1, "destination": "PARM1" },
      { "source": "Vendor", "sourceType": 0, "destination": "PARM2" },
      { "source": "OriginalFolder", "sourceType": 3, "destination": "OriginalFolder" },
      { "source": "First Page Original File Name", "sourceType": 2, "destination": "OriginalFileName" },
      { "source": "OriginalFileNameExt", "sourceType": 3, "destination": "OriginalFileNameExt" }])"));
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"host.json"});  // no temporary file left
}

TEST_F(SetupCommand, ShowAloneWritesNothing) {
  CommandRun result = run({path, "--show"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("  Brenno Address (serverURL)              http://old\n"), std::string::npos) << result.out;
  EXPECT_EQ(content(), hostFile);
}

TEST_F(SetupCommand, ShowAfterChangesShowsWhatWasStored) {
  CommandRun result = run({path, "--show", "--set", "Password=s3cret", "--map", "PARM1=none"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("  Password (Password)                     ********\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("    Parameter 1     No Mapping  PARM1 - CHAR(1024)"), std::string::npos) << result.out;
  EXPECT_EQ(setupRecord(*parseHostFile(content(), path, result.err)).password, u"s3cret");
}

TEST_F(SetupCommand, KeepsTheFilesModeAndALinkToIt) {
  std::filesystem::path real = folder / "real.json";
  std::filesystem::rename(path, real);
  std::filesystem::create_symlink(real, path);
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  CommandRun result = run({path, "--set", "Name=Payables"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  struct stat status {};
  ASSERT_EQ(::stat(real.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_EQ(Json::parse(content())["setup"]["name"], "Payables");
}

struct RefusedCase {
  const char* name;
  std::vector<std::string> arguments;  // after FILE
  std::string message;
  bool withUsage = false;
};

class SetupCommandRefused : public SetupCommand, public testing::WithParamInterface<RefusedCase> {};

TEST_P(SetupCommandRefused, ExitsWithTwoAndLeavesTheFileAsItWas) {
  std::vector<std::string> arguments{path};
  arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
  CommandRun result = run(arguments);
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  std::string expected = "quorlex-host: " + GetParam().message + "\n";
  if (GetParam().withUsage) expected += std::string(setupUsage);
  EXPECT_EQ(result.err, expected);
  EXPECT_EQ(content(), hostFile);
  EXPECT_EQ(folderEntries(), std::vector<std::string>{"host.json"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupCommandRefused,
    testing::Values(
        RefusedCase{"bad_command_line", {"--set", "Colour=red"},
                    "--set: unknown field \"Colour\"; the fields are Name, serverURL, UserName, Password, "
                    "ExitProgramProgram, ExitProgramLibrary and ExitProgramDelimiter",
                    true},
        RefusedCase{"long_delimiter_before_a_good_mapping",
                    {"--map", "PARM2=index:Vendor", "--set", "ExitProgramDelimiter=||"},
                    "--set ExitProgramDelimiter=|| refused: Enter no more than 1 characters."},
        RefusedCase{"one_bad_mapping_among_good_ones",
                    {"--set", "Name=x", "--map", "PARM1=none", "--map", "PARM2=value:Batch Name"},
                    "--map PARM2=value:Batch Name refused: \"Batch Name\" is not one of the \"Kofax Capture Values\" "
                    "(the host file's batchVariableNames)"},
        RefusedCase{"index_field_in_other_case", {"--map", "PARM2=index:vendor"},
                    "--map PARM2=index:vendor refused: \"vendor\" is not one of the \"Document Index Fields\" (the host "
                    "file's indexFields)"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SetupCommand, AnUnreadableFileIsNamed) {
  std::string missing = (folder / "none.json").string();
  CommandRun result = run({missing, "--show"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "quorlex-host: " + missing + ": cannot read the file: No such file or directory\n");
}

TEST_F(SetupCommand, HelpIsTheUsage) {
  CommandRun result = run({"--help"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, setupUsage);
}

}  // namespace
}  // namespace quorlex::host
