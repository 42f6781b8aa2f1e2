#pragma once
// The end-to-end tests' fixture: quorlex-gateway started on 127.0.0.1 with a journal in a
// folder of the test's own, the sample batches, and quorlex-host run as a program.
#include <unistd.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/support/child_process.h"

namespace quorlex::end_to_end {

using Json = nlohmann::ordered_json;
using support::BackgroundProcess;
using support::runProcess;

inline Json parameter(const std::string& name, const std::string& value) { return Json{{"name", name}, {"value", value}}; }

struct HostRun {
  int exitStatus = -1;
  std::vector<Json> events;
  std::string out;
  std::string err;
};

class EndToEnd : public ::testing::Test {
 public:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "-" + test->name();
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '-';
    folder = std::filesystem::temp_directory_path() / ("quorlex-e2e-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    gateway.reset();
    std::filesystem::remove_all(folder);
  }

  void startGateway(std::vector<std::string> options = {}) {
    std::vector<std::string> arguments{QUORLEX_GATEWAY_PROGRAM, "--port", "0", "--journal", journalPath(), "--quiet"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    gateway = std::make_unique<BackgroundProcess>(arguments, (folder / "gateway.err").string());
    std::optional<std::string> port = gateway->readLine();
    ASSERT_TRUE(port) << "the gateway did not start";
    gatewayUrl = "http://127.0.0.1:" + *port;
  }

  // Three invoices, the second with a table field mapped to PARM2.
  Json batch() const {
    Json links = Json::array({
        Json{{"source", "InvoiceNumber"}, {"sourceType", 0}, {"destination", "PARM1"}},
        Json{{"source", "Lines"}, {"sourceType", 0}, {"destination", "PARM2"}},
        Json{{"source", "AP"}, {"sourceType", 1}, {"destination", "PARM3"}},
        Json{{"source", "Batch Name"}, {"sourceType", 2}, {"destination", "PARM4"}},
        Json{{"source", "OriginalFolder"}, {"sourceType", 3}, {"destination", "OriginalFolder"}},
    });
    Json documents = Json::array();
    for (int number = 1; number <= 3; ++number) {
      Json fields{{"InvoiceNumber", "INV-" + std::to_string(number)}};
      if (number == 2) fields["Lines"] = Json{{"table", "Items"}, {"rows", {"A", "B"}}};
      documents.push_back(Json{{"fields", fields}, {"variables", {{"Batch Name", "B-001"}}},
                               {"batchFields", {{"OriginalFolder", "C:\\scan"}}}});
    }
    return Json{{"batchClassName", "Invoices"},
                {"docClassName", "Invoice"},
                {"setup",
                 {{"name", "AP"},
                  {"userName", ""},
                  {"password", ""},
                  {"customProperties",
                   {{"serverURL", gatewayUrl},
                    {"ExitProgramProgram", "INVPGM"},
                    {"ExitProgramLibrary", "QGPL"},
                    {"ExitProgramDelimiter", "|"}}},
                  {"links", links}}},
                {"documents", documents}};
  }

  // The example document: PGM in LIB, delimiter |, INV123 as PARM1.
  Json example() const {
    Json file = batch();
    file["setup"]["customProperties"]["ExitProgramProgram"] = "PGM";
    file["setup"]["customProperties"]["ExitProgramLibrary"] = "LIB";
    file["setup"]["links"] = Json::array({Json{{"source", "InvoiceNumber"}, {"sourceType", 0}, {"destination", "PARM1"}}});
    file["documents"] = Json::array({Json{{"fields", {{"InvoiceNumber", "INV123"}}}}});
    return file;
  }

  std::string write(const std::string& name, const std::string& content) const {
    std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  HostRun release(const Json& file, const std::vector<std::string>& environment = {}) {
    return runHost({QUORLEX_HOST_PROGRAM, "release", write("host.json", file.dump(2)), "--json"}, environment);
  }

  HostRun runHost(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {}) {
    support::ProcessResult result = runProcess(arguments, environment);
    HostRun run{result.exitStatus, {}, result.out, result.err};
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
      if (arguments.back() == "--json") run.events.push_back(Json::parse(line));
    }
    return run;
  }

  std::string journalPath() const { return (folder / "journal.jsonl").string(); }

  std::vector<Json> journal() const {
    std::vector<Json> entries;
    std::ifstream file(journalPath());
    for (std::string line; std::getline(file, line);) entries.push_back(Json::parse(line));
    return entries;
  }

  std::filesystem::path folder;
  std::unique_ptr<BackgroundProcess> gateway;
  std::string gatewayUrl;
};

}  // namespace quorlex::end_to_end
