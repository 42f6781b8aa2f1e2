#include "tools/host/host_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "tests/support/table_rows.h"

namespace quorlex::host {
namespace {

using test_support::PrintTo;

// The example of the host file's description, whole.
const std::string example = R"({ "batchClassName": "Invoices", "docClassName": "Invoice",
  "indexFields": ["InvoiceNumber", "Vendor", "Lines"],
  "batchVariableNames": ["Batch Name", "Scan Operator"],
  "setup": { "name": "AP export", "userName": "clerk", "password": "s3cret",
             "customProperties": { "serverURL": "http://127.0.0.1:8080", "ExitProgramProgram": "INVPGM",
                                   "ExitProgramLibrary": "QGPL", "ExitProgramDelimiter": "|" },
             "links": [ { "source": "InvoiceNumber", "sourceType": 0, "destination": "PARM1" } ] },
  "documents": [ { "fields": { "InvoiceNumber": "INV123", "Lines": { "table": "Items", "rows": ["A", "B"] } },
                   "variables": { "Batch Name": "B-001" }, "batchFields": { "OriginalFolder": "C:\\scan" } } ] })";

HostFile parsed(const std::string& text) {
  std::string error;
  std::optional<HostFile> file = parseHostFile(text, "batch.json", error);
  EXPECT_TRUE(file) << error;
  return file.value_or(HostFile{});
}

TEST(HostFile, GivesTheSetupRecord) {
  SetupRecord record = setupRecord(parsed(example));
  EXPECT_EQ(record.batchClassName, u"Invoices");
  EXPECT_EQ(record.docClassName, u"Invoice");
  EXPECT_EQ(record.indexFields, (std::vector<std::u16string>{u"InvoiceNumber", u"Vendor", u"Lines"}));
  EXPECT_EQ(record.batchVariableNames, (std::vector<std::u16string>{u"Batch Name", u"Scan Operator"}));
  EXPECT_EQ(record.name, u"AP export");
  EXPECT_EQ(record.userName, u"clerk");
  EXPECT_EQ(record.password, u"s3cret");
  using Property = std::pair<std::u16string, std::u16string>;
  EXPECT_EQ(record.customProperties, (std::vector<Property>{{u"serverURL", u"http://127.0.0.1:8080"},
                                                            {u"ExitProgramProgram", u"INVPGM"},
                                                            {u"ExitProgramLibrary", u"QGPL"},
                                                            {u"ExitProgramDelimiter", u"|"}}));
  EXPECT_EQ(record.links, (std::vector<MemoryLink>{{u"InvoiceNumber", KFX_REL_INDEXFIELD, u"PARM1"}}));
}

TEST(HostFile, EveryMemberIsOptional) {
  HostFile file = parsed("{}");
  EXPECT_EQ(setupRecord(file), SetupRecord{});
  EXPECT_EQ(documentCount(file), 0u);
  EXPECT_EQ(documentCount(parsed(R"({"documents": [{}]})")), 1u);
  EXPECT_TRUE(documentValues(parsed(R"({"documents": [{}]})"), 0).empty());
}

TEST(HostFile, ResolvesEachLinkOfADocumentInOrder) {
  HostFile file = parsed(R"({ "setup": { "links": [
      { "source": "Lines", "sourceType": 0, "destination": "PARM2" },
      { "source": "InvoiceNumber", "sourceType": 0, "destination": "PARM1" },
      { "source": "AP-Gr\u00fcn", "sourceType": 1, "destination": "PARM3" },
      { "source": "Batch Name", "sourceType": 2, "destination": "PARM4" },
      { "source": "OriginalFolder", "sourceType": 3, "destination": "OriginalFolder" },
      { "source": "Missing", "sourceType": 0, "destination": "PARM5" },
      { "source": "Scan Operator", "sourceType": 2, "destination": "PARM6" },
      { "source": "X", "sourceType": 7, "destination": "PARM7" },
      { "destination": "PARM8" } ] },
    "documents": [
      { "fields": { "InvoiceNumber": "INV123", "Lines": { "table": "Items", "rows": ["A", "B"] } },
        "variables": { "Batch Name": "B-001" }, "batchFields": { "OriginalFolder": "C:\\scan" } },
      { "fields": { "InvoiceNumber": "INV124" } } ] })");
  EXPECT_EQ(documentValues(file, 0), (std::vector<MemoryValue>{
                                         {u"PARM2", u"", u"Items", {u"A", u"B"}},
                                         {u"PARM1", u"INV123", u"", {}},
                                         {u"PARM3", u"AP-Grün", u"", {}},
                                         {u"PARM4", u"B-001", u"", {}},
                                         {u"OriginalFolder", u"C:\\scan", u"", {}},
                                         {u"PARM5", u"", u"", {}},
                                         {u"PARM6", u"", u"", {}},
                                         {u"PARM7", u"", u"", {}},
                                         {u"PARM8", u"", u"", {}},
                                     }));
  EXPECT_EQ(documentValues(file, 1)[1], (MemoryValue{u"PARM1", u"INV124", u"", {}}));
  EXPECT_EQ(documentValues(file, 1)[0], (MemoryValue{u"PARM2", u"", u"", {}}));
}

struct InvalidCase {
  const char* name;
  std::string text;
  std::string error;
};

class InvalidHostFile : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidHostFile, NamesTheFileAndWhatIsWrong) {
  std::string error;
  EXPECT_FALSE(parseHostFile(GetParam().text, "batch.json", error));
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InvalidHostFile,
    ::testing::Values(
        InvalidCase{"missing_comma", "{\n  \"docClassName\": \"Invoice\"\n  \"indexFields\": []\n}",
                    "batch.json: not valid JSON at line 3, column 15: syntax error while parsing object - unexpected "
                    "string literal; expected '}'"},
        InvalidCase{"empty", "", "batch.json: not valid JSON at line 1, column 1: syntax error while parsing value - "
                                 "unexpected end of input; expected '[', '{', or a literal"},
        InvalidCase{"not_an_object", "[]", "batch.json: not a valid host file: \"the file\" must be an object"},
        InvalidCase{"class_name_number", R"({"docClassName": 5})",
                    "batch.json: not a valid host file: \"docClassName\" must be a text"},
        InvalidCase{"index_field_number", R"({"indexFields": ["a", 2]})",
                    "batch.json: not a valid host file: \"indexFields[1]\" must be a text"},
        InvalidCase{"property_number", R"({"setup": {"customProperties": {"serverURL": 8080}}})",
                    "batch.json: not a valid host file: \"setup.customProperties.serverURL\" must be a text"},
        InvalidCase{"source_type_text", R"({"setup": {"links": [{"sourceType": "0"}]}})",
                    "batch.json: not a valid host file: \"setup.links[0].sourceType\" must be a whole number"},
        InvalidCase{"source_type_huge", R"({"setup": {"links": [{"sourceType": 4294967296}]}})",
                    "batch.json: not a valid host file: \"setup.links[0].sourceType\" must be a whole number"},
        InvalidCase{"documents_object", R"({"documents": {}})",
                    "batch.json: not a valid host file: \"documents\" must be a list of documents"},
        InvalidCase{"field_number", R"({"documents": [{"fields": {"Amount": 12.5}}]})",
                    "batch.json: not a valid host file: \"documents[0].fields.Amount\" must be a text, or a table: "
                    "{\"table\": NAME, \"rows\": [TEXT, ...]}"},
        InvalidCase{"table_row_number", R"({"documents": [{"fields": {"L": {"table": "T", "rows": [1]}}}]})",
                    "batch.json: not a valid host file: \"documents[0].fields.L.rows[0]\" must be a text"},
        InvalidCase{"variable_list", R"({"documents": [{"variables": []}]})",
                    "batch.json: not a valid host file: \"documents[0].variables\" must be an object of texts"},
        // The library would keep one of the two silently.
        InvalidCase{"duplicate_key", R"({"setup": {"customProperties": {"serverURL": "a", "serverURL": "b"}}})",
                    "batch.json: not a valid host file: the key \"serverURL\" is given twice in one object"},
        InvalidCase{"duplicate_document_member", R"({"documents": [{"fields": {}, "fields": {}}]})",
                    "batch.json: not a valid host file: the key \"fields\" is given twice in one object"},
        InvalidCase{"deep_nesting", "{\"keep\": " + std::string(100, '[') + std::string(100, ']') + "}",
                    "batch.json: not a valid host file: it nests deeper than 64 levels"},
        // What the file holds is quoted printable and short: no raw bytes, no megabytes.
        InvalidCase{"invalid_utf8_token", "\xd0\x01",
                    "batch.json: not valid JSON at line 1, column 1: syntax error while parsing value - invalid "
                    "literal; last read: '\xef\xbf\xbd'"},
        // Once an exception that nothing caught: the program ended without a message.
        InvalidCase{"number_overflow", R"({"x": 990000e9000})",
                    "batch.json: not valid JSON: number overflow parsing '990000e9000'"},
        InvalidCase{"long_token", "[" + std::string(100000, 'x') + "]",
                    "batch.json: not valid JSON at line 1, column 2: syntax error while parsing value - invalid "
                    "literal; last read: '[x'"},
        InvalidCase{"long_key", "{\"documents\": [{\"fields\": {\"" + std::string(100000, 'k') + "\\n\": 1}}]}",
                    "batch.json: not a valid host file: \"documents[0].fields." + std::string(40, 'k') +
                        "...\" must be a text, or a table: {\"table\": NAME, \"rows\": [TEXT, ...]}"}),
    [](const auto& info) { return info.param.name; });

TEST(HostFile, UnreadableFileIsNamed) {
  std::string error;
  EXPECT_FALSE(loadHostFile("/nonexistent/batch.json", error));
  EXPECT_EQ(error, "/nonexistent/batch.json: cannot read the file: No such file or directory");
  EXPECT_FALSE(loadHostFile("/tmp", error));
  EXPECT_EQ(error, "/tmp: cannot read the file: it is a folder");
}

TEST(HostFile, RewriteKeepsWhatItDoesNotKnow) {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("quorlex-host-file-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::ofstream(path) << R"({ "comment": "kept", "setup": { "name": "old", "future": [1, 2],
                               "links": [{ "source": "a", "sourceType": 0, "destination": "PARM1" }] },
                             "documents": [{ "fields": { "a": "1" } }] })";
  std::string error;
  std::optional<HostFile> file = loadHostFile(path.string(), error);
  ASSERT_TRUE(file) << error;
  SetupRecord record = setupRecord(*file);
  record.name = u"new";
  record.customProperties = {{u"serverURL", u"http://gw"}};
  record.links = {{u"b", KFX_REL_TEXTCONSTANT, u"PARM2"}};
  storeSetupRecord(*file, record);
  ASSERT_TRUE(saveHostFile(*file, error)) << error;

  std::optional<HostFile> reread = loadHostFile(path.string(), error);
  std::filesystem::remove(path);
  ASSERT_TRUE(reread) << error;
  EXPECT_EQ(setupRecord(*reread), record);
  EXPECT_EQ(reread->json["comment"], "kept");
  EXPECT_EQ(reread->json["setup"]["future"], nlohmann::ordered_json::parse("[1, 2]"));
  EXPECT_EQ(reread->json["documents"][0]["fields"]["a"], "1");
  EXPECT_EQ(reread->json.begin().key(), "comment");  // members keep their order
}

}  // namespace
}  // namespace quorlex::host

namespace quorlex::host {
namespace {

class HostFileSave : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("quorlex-host-save-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string read(const std::filesystem::path& path) const {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
  }

  std::filesystem::path folder;
};

TEST_F(HostFileSave, LaysTheFileOutAsItIsWrittenByHand) {
  HostFile file = parsed(R"({"setup": {"name": "AP", "customProperties": {}, "links": [
      {"source": "InvoiceNumber", "sourceType": 0, "destination": "PARM1"},
      {"source": "A constant long enough that its link does not fit on one line of the file, not at all", "sourceType": 1,
       "destination": "PARM2"}]},
    "indexFields": ["InvoiceNumber"], "documents": []})");
  file.path = (folder / "host.json").string();
  std::string error;
  ASSERT_TRUE(saveHostFile(file, error)) << error;
  EXPECT_EQ(read(file.path),
            "{\n"
            "  \"setup\": {\n"
            "    \"name\": \"AP\",\n"
            "    \"customProperties\": {},\n"
            "    \"links\": [\n"
            "      { \"source\": \"InvoiceNumber\", \"sourceType\": 0, \"destination\": \"PARM1\" },\n"
            "      {\n"
            "        \"source\": \"A constant long enough that its link does not fit on one line of the file, not at all\",\n"
            "        \"sourceType\": 1,\n"
            "        \"destination\": \"PARM2\"\n"
            "      }\n"
            "    ]\n"
            "  },\n"
            "  \"indexFields\": [\"InvoiceNumber\"],\n"
            "  \"documents\": []\n"
            "}\n");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(HostFileSave, AFailedReplacementLeavesNothingBehind) {
  struct Case {
    const char* what;
    std::filesystem::path path;
    std::string reason;
    std::string posixText;  // the system's own text after the reason, strerror's on Linux
  };
  std::filesystem::create_directories(folder / "taken.json");  // a folder cannot be replaced by a file
  const Case cases[] = {
      {"folder missing", folder / "gone" / "host.json", "cannot create a temporary file in " + (folder / "gone").string(),
       "No such file or directory"},
      {"target is a folder", folder / "taken.json", "cannot replace the file", "Is a directory"},
  };
  for (const Case& c : cases) {
    HostFile file = parsed("{}");
    file.path = c.path.string();
    std::string error;
    EXPECT_FALSE(saveHostFile(file, error)) << c.what;
    std::string expected = file.path + ": " + c.reason + ": ";
    EXPECT_TRUE(error.starts_with(expected)) << error;
#ifndef _WIN32
    EXPECT_EQ(error, expected + c.posixText) << c.what;
#endif
    EXPECT_EQ(entries(), 1u) << c.what;  // only the folder made above
  }
}

}  // namespace
}  // namespace quorlex::host
