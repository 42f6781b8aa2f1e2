#pragma once
// The end-to-end tests' fixture: quorlex-gateway started on 127.0.0.1 with a journal in a
// folder of the test's own, the batches of tests/batches (which scripts/checks/
// component_batches releases too), and quorlex-host run as a program.
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

  // A host file of tests/batches, addressed to the gateway started: GATEWAY in its address
  // stands for the gateway's.
  Json batchFile(const std::string& name) const {
    std::ifstream in(batchPath(name));
    Json file = Json::parse(in);
    Json& address = file["setup"]["customProperties"]["serverURL"];
    std::string text = address.get<std::string>();
    if (std::size_t at = text.find("GATEWAY"); at != std::string::npos) text.replace(at, 7, gatewayUrl);
    address = text;
    return file;
  }

  // Three invoices, the second with a table field mapped to PARM2.
  Json batch() const { return batchFile("invoices.json"); }

  // The example document: PGM in LIB, delimiter |, INV123 as PARM1.
  Json example() const { return batchFile("example.json"); }

  // A file of tests/batches as it is.
  static std::string batchPath(const std::string& name) { return std::string(QUORLEX_BATCHES_FOLDER) + "/" + name; }

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
