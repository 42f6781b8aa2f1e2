// The worst input the two programs can be given, as processes: every malformed host file and
// command line is refused with one short message and exit status 2, never a crash, never a
// file partly rewritten; the largest inputs that are not malformed are taken whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/support/table_rows.h"
#include "tests/tools/end_to_end_fixture.h"

namespace quorlex::end_to_end {
namespace {

using test_support::PrintTo;

constexpr std::size_t tenMegabytes = 10 * 1024 * 1024;
// A refusal names the file and says what is wrong in one line; it never quotes megabytes.
constexpr std::size_t longestMessage = 400;

std::string readAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class BadInput : public EndToEnd {
 protected:
  // The files in the test's folder, the journal left out.
  std::vector<std::string> folderContents() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path() != journalPath()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // One refusal as both commands see it: exit status 2, nothing on standard output, one line
  // on standard error that begins with prefix, no post, and the file as it was.
  void expectRefused(const std::vector<std::string>& arguments, const std::string& prefix, const std::string& path = {}) {
    std::string before = path.empty() ? std::string() : readAll(path);
    std::vector<std::string> contents = folderContents();
    HostRun run = runHost(arguments);
    EXPECT_EQ(run.exitStatus, 2) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with(prefix)) << run.err.substr(0, longestMessage);
    EXPECT_LE(run.err.find('\n'), longestMessage);
    EXPECT_TRUE(journal().empty());
    if (!path.empty()) {
      EXPECT_TRUE(readAll(path) == before) << "the file was changed";
    }
    EXPECT_EQ(folderContents(), contents) << "a file was left behind";
  }
};

struct BadFileCase {
  const char* name;
  std::function<std::string(const BadInput&)> text;
  std::string reason;  // how the message goes on after "quorlex-host: PATH: "
  bool large = false;  // megabytes: read by one command only, the one that rewrites
};

class BadHostFile : public BadInput, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(BadHostFile, IsRefusedByReleaseAndSetupAlike) {
  startGateway();
  std::string path = write("host.json", GetParam().text(*this));
  std::string prefix = "quorlex-host: " + path + ": " + GetParam().reason;
  expectRefused({QUORLEX_HOST_PROGRAM, "setup", path, "--set", "Name=Changed"}, prefix, path);
  if (GetParam().large) return;
  expectRefused({QUORLEX_HOST_PROGRAM, "release", path, "--json"}, prefix, path);
  expectRefused({QUORLEX_HOST_PROGRAM, "setup", path, "--show"}, prefix, path);
}

std::string withDocuments(const Json& documents) { return Json{{"documents", documents}}.dump(); }

INSTANTIATE_TEST_SUITE_P(
    Cases, BadHostFile,
    ::testing::Values(
        BadFileCase{"empty", [](const BadInput&) { return std::string(); }, "not valid JSON at line 1, column 1: "},
        BadFileCase{"truncated",
                    [](const BadInput& t) {
                      std::string text = t.batch().dump(2);
                      return text.substr(0, text.size() / 2);
                    },
                    "not valid JSON at line "},
        BadFileCase{"truncated_in_a_string", [](const BadInput&) { return std::string("{\"docClassName\": \"Inv"); },
                    "not valid JSON at line 1, column 22: syntax error while parsing value - invalid string: missing "
                    "closing quote; last read: '\"Inv'"},
        BadFileCase{"a_list", [](const BadInput&) { return std::string("[]"); },
                    "not a valid host file: \"the file\" must be an object"},
        BadFileCase{"documents_an_object", [](const BadInput&) { return withDocuments(Json::object()); },
                    "not a valid host file: \"documents\" must be a list of documents"},
        BadFileCase{"source_type_a_text",
                    [](const BadInput&) { return std::string(R"({"setup": {"links": [{"sourceType": "0"}]}})"); },
                    "not a valid host file: \"setup.links[0].sourceType\" must be a whole number"},
        BadFileCase{"field_a_number", [](const BadInput&) { return withDocuments({{{"fields", {{"Amount", 12.5}}}}}); },
                    "not a valid host file: \"documents[0].fields.Amount\" must be a text, or a table"},
        BadFileCase{"password_null", [](const BadInput&) { return std::string(R"({"setup": {"password": null}})"); },
                    "not a valid host file: \"setup.password\" must be a text"},
        BadFileCase{"invalid_utf8", [](const BadInput&) { return std::string("{\"docClassName\": \"Gr\xfcn\"}"); },
                    "not valid JSON at line 1, column 21: syntax error while parsing value - invalid string: ill-formed "
                    "UTF-8 byte; last read: '\"Gr\xef\xbf\xbd'"},
        BadFileCase{"latin1_byte_outside_a_string", [](const BadInput&) { return std::string("\xef\xbb\xbf{} \xa0"); },
                    "not valid JSON at line 1, column 7: syntax error while parsing value - invalid literal; last read: '"},
        BadFileCase{"control_character_in_a_string", [](const BadInput&) { return std::string("{\"a\": \"x\x01y\"}"); },
                    "not valid JSON at line 1, column 9: syntax error while parsing value - invalid string: control "
                    "character U+0001 (SOH) must be escaped to \\u0001; last read: '\"x<U+0001>'"},
        BadFileCase{"number_past_a_double",
                    [](const BadInput&) { return std::string(R"({"setup": {"links": [{"sourceType": 1e400}]}})"); },
                    "not valid JSON: number overflow parsing '1e400'"},
        BadFileCase{"duplicate_key",
                    [](const BadInput&) { return std::string(R"({"setup": {"name": "A"}, "documents": [], "setup": {}})"); },
                    "not a valid host file: the key \"setup\" is given twice in one object"},
        BadFileCase{"duplicate_key_in_a_document",
                    [](const BadInput&) { return std::string(R"({"documents": [{"fields": {"A": "1", "A": "2"}}]})"); },
                    "not a valid host file: the key \"A\" is given twice in one object"},
        BadFileCase{"nested_too_deep",
                    [](const BadInput&) { return "{\"keep\": " + std::string(100000, '[') + std::string(100000, ']') + "}"; },
                    "not a valid host file: it nests deeper than 64 levels"},
        BadFileCase{"ten_megabyte_key",
                    [](const BadInput&) { return withDocuments({{{"fields", {{std::string(tenMegabytes, 'k'), 1}}}}}); },
                    "not a valid host file: \"documents[0].fields." + std::string(40, 'k') + "...\" must be a text", true},
        BadFileCase{"ten_megabyte_string_never_closed",
                    [](const BadInput&) { return "{\"docClassName\": \"" + std::string(tenMegabytes, 'x'); },
                    "not valid JSON at line 1, column 10485779: syntax error while parsing value - invalid string: "
                    "missing closing quote; last read: '\"" + std::string(39, 'x') + "...'", true},
        BadFileCase{"ten_megabyte_number", [](const BadInput&) { return "{\"setup\": {\"links\": [{\"sourceType\": " + std::string(tenMegabytes, '9') + "}]}}"; },
                    "not valid JSON: number overflow parsing '9999", true}),
    [](const auto& info) { return info.param.name; });

TEST_F(BadInput, AFolderOrAMissingFileIsRefused) {
  startGateway();
  std::filesystem::create_directory(folder / "batch");
  std::string batch = (folder / "batch").string();
  expectRefused({QUORLEX_HOST_PROGRAM, "release", batch}, "quorlex-host: " + batch + ": cannot read the file: it is a folder\n");
  expectRefused({QUORLEX_HOST_PROGRAM, "setup", batch, "--show"}, "quorlex-host: " + batch + ": cannot read the file: it is a folder\n");
  std::string missing = (folder / "none.json").string();
  expectRefused({QUORLEX_HOST_PROGRAM, "setup", missing, "--show"},
                "quorlex-host: " + missing + ": cannot read the file: No such file or directory\n");
}

// A command line after the program (and for setup, its file), and how its message begins.
struct BadCommandLine {
  const char* name;
  std::vector<std::string> options;
  std::string message;
};

class BadSetupCommandLine : public BadInput, public ::testing::WithParamInterface<BadCommandLine> {};

TEST_P(BadSetupCommandLine, IsRefusedAndTheFileStaysAsItWas) {
  std::string path = write("batch.json", batch().dump(2));
  std::vector<std::string> arguments{QUORLEX_HOST_PROGRAM, "setup", path};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  expectRefused(arguments, "quorlex-host: " + GetParam().message, path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadSetupCommandLine,
    ::testing::Values(
        BadCommandLine{"nothing_to_do", {}, "setup needs --show, --set or --map\n"},
        BadCommandLine{"set_without_value", {"--set"}, "--set needs KEY=VALUE\n"},
        BadCommandLine{"unknown_field", {"--set", "Colour=blue"}, "--set: unknown field \"Colour\"; the fields are "},
        BadCommandLine{"invalid_utf8_value", {"--set", "Name=Gr\xfcn"}, "--set Name: the value is not valid UTF-8\n"},
        BadCommandLine{"invalid_utf8_mapping", {"--map", "PARM1=text:\xff"}, "--map: \"PARM1=text:\xff\" is not valid UTF-8\n"},
        BadCommandLine{"set_twice", {"--set", "Name=A", "--set", "Name=B"}, "--set Name is given twice\n"},
        BadCommandLine{"unknown_source", {"--map", "PARM1=field:X"}, "--map PARM1=field:X: the source is index:NAME"},
        BadCommandLine{"two_files", {"other.json", "--show"}, "unexpected argument \"other.json\"\n"},
        // Well formed, but the sheet does not accept it: refused the same way.
        BadCommandLine{"parameter_21", {"--map", "PARM21=text:X"}, "--map PARM21=text:X refused: there is no parameter \"PARM21\"; the parameters are PARM1 to PARM20\n"},
        BadCommandLine{"unknown_index_field", {"--map", "PARM1=index:Amount"}, "--map PARM1=index:Amount refused: \"Amount\" is not one of the \"Document Index Fields\""},
        BadCommandLine{"long_delimiter", {"--set", "ExitProgramDelimiter=;;"}, "--set ExitProgramDelimiter=;; refused: Enter no more than 1 characters.\n"}),
    [](const auto& info) { return info.param.name; });

class BadGatewayCommandLine : public BadInput, public ::testing::WithParamInterface<BadCommandLine> {};

// The emulator refuses before it listens: the port is never printed.
TEST_P(BadGatewayCommandLine, IsRefusedWithOneMessage) {
  std::vector<std::string> arguments{QUORLEX_GATEWAY_PROGRAM};
  for (const std::string& option : GetParam().options) {
    arguments.push_back(option == "FOLDER" ? folder.string() : option);
  }
  support::ProcessResult run = support::runProcess(arguments);
  EXPECT_EQ(run.exitStatus, 2) << run.err;
  EXPECT_EQ(run.out, "");
  std::string message = GetParam().message;
  if (std::size_t at = message.find("FOLDER"); at != std::string::npos) message.replace(at, 6, folder.string());
  EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), "quorlex-gateway: " + message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadGatewayCommandLine,
    ::testing::Values(
        BadCommandLine{"unknown_option", {"--verbose"}, "unknown option --verbose"},
        BadCommandLine{"unknown_option_with_value", {"--colour", "red"}, "unknown option --colour"},
        BadCommandLine{"port_too_large", {"--port", "65536"}, "--port takes a number from 0 to 65535"},
        BadCommandLine{"port_not_a_number", {"--port", "80x"}, "--port takes a number from 0 to 65535"},
        BadCommandLine{"port_empty", {"--port", ""}, "--port takes a number from 0 to 65535"},
        BadCommandLine{"port_missing", {"--port"}, "the option --port needs a value"},
        BadCommandLine{"fail_200", {"--fail", "200"}, "--fail takes STATUS[:DESCRIPTION] with a status from 201 to 599"},
        BadCommandLine{"fail_204", {"--fail", "204:none"}, "--fail takes STATUS[:DESCRIPTION] with a status from 201 to 599"},
        BadCommandLine{"fail_huge", {"--fail", "99999999999999999999:x"},
                       "--fail takes STATUS[:DESCRIPTION] with a status from 201 to 599"},
        BadCommandLine{"fail_body_alone", {"--fail-body", "reply.xml"}, "--fail-body needs --fail"},
        BadCommandLine{"fail_body_missing", {"--fail", "500", "--fail-body", "/nonexistent/reply.xml"},
                       "cannot read /nonexistent/reply.xml"},
        BadCommandLine{"fail_body_a_folder", {"--fail", "500", "--fail-body", "FOLDER"}, "cannot read FOLDER"},
        BadCommandLine{"user_alone", {"--user", "clerk"}, "--user and --password go together"},
        BadCommandLine{"max_body_negative", {"--max-body", "-1"}, "--max-body takes a byte count"},
        BadCommandLine{"max_body_huge", {"--max-body", "18446744073709551616"}, "--max-body takes a byte count"},
        BadCommandLine{"timeout_zero", {"--timeout", "0"}, "--timeout takes seconds, from 1 to 86400"},
        BadCommandLine{"connections_zero", {"--max-connections", "0"}, "--max-connections takes a number from 1"},
        BadCommandLine{"journal_in_a_missing_folder", {"--journal", "/nonexistent/journal.jsonl"},
                       "cannot open the journal /nonexistent/journal.jsonl: No such file or directory"},
        BadCommandLine{"journal_a_folder", {"--journal", "FOLDER"}, "cannot open the journal FOLDER: Is a directory"}),
    [](const auto& info) { return info.param.name; });

// The largest inputs that are not malformed: taken whole, and a rewrite keeps every byte of
// what it does not own.
TEST_F(BadInput, TenMegabyteValuesAreReleasedWhole) {
  startGateway();
  Json file = example();
  std::string value(tenMegabytes, 'v');
  file["documents"][0]["fields"]["InvoiceNumber"] = value;
  HostRun run = release(file);
  ASSERT_EQ(run.exitStatus, 0) << run.err.substr(0, longestMessage);
  std::vector<Json> calls = journal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0]["parameters"] == Json::array({parameter("PARM1", value)}));
}

TEST_F(BadInput, SetupRewritesAFileOfAHundredThousandDocumentsWhole) {
  Json file = batch();
  file.erase("documents");
  file["notes"] = std::string(tenMegabytes, 'n');
  // Written as text: building the JSON of this size takes long under the sanitizers.
  std::string text = file.dump();
  text.pop_back();
  text += ", \"documents\": [";
  for (int number = 0; number < 100000; ++number) {
    text += (number == 0 ? "" : ", ") + std::string(R"({"fields": {"InvoiceNumber": "INV-)") + std::to_string(number) +
            R"(", "Lines": {"table": "Items", "rows": ["A", "B"]}}, "variables": {"Batch Name": "B-001"}})";
  }
  text += "]}";
  std::string path = write("batch.json", text);
  HostRun run = runHost({QUORLEX_HOST_PROGRAM, "setup", path, "--set", "Name=Bulk"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  // Read back by scanning, not parsing: a parse of this size takes long under the sanitizers.
  std::string written = readAll(path);
  EXPECT_NE(written.find("\"name\": \"Bulk\""), std::string::npos);
  std::size_t notes = written.find("\"notes\": \"");
  ASSERT_NE(notes, std::string::npos);
  EXPECT_EQ(written.find_first_not_of('n', notes + 10), notes + 10 + tenMegabytes);
  std::size_t at = 0;
  int documents = 0;
  for (; (at = written.find("\"INV-", at)) != std::string::npos; ++at) {
    std::size_t end = written.find('"', at + 1);
    ASSERT_EQ(written.substr(at + 5, end - at - 5), std::to_string(documents)) << "documents lost or out of order";
    ++documents;
  }
  EXPECT_EQ(documents, 100000);
  EXPECT_EQ(folderContents(), std::vector<std::string>{"batch.json"});
}

}  // namespace
}  // namespace quorlex::end_to_end
