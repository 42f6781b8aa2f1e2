// quorlex-host setup, then quorlex-host release against quorlex-gateway on 127.0.0.1: the
// setup and the release meet only through the stored settings of the host file.
#include <gtest/gtest.h>

#include "tests/tools/end_to_end_fixture.h"

namespace quorlex::end_to_end {
namespace {

class SetupThenRelease : public EndToEnd {
 protected:
  // The batch as it was set up for another gateway and exit program.
  Json oldSetup() const {
    Json file = batch();
    file["indexFields"] = Json::array({"InvoiceNumber", "Vendor", "Lines"});
    file["batchVariableNames"] = Json::array({"Batch Name", "Scan Operator"});
    file["setup"]["customProperties"]["serverURL"] = "http://gateway.invalid";
    return file;
  }

  HostRun setup(const std::string& path, std::vector<std::string> options) {
    std::vector<std::string> arguments{QUORLEX_HOST_PROGRAM, "setup", path};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return runHost(arguments);
  }
};

TEST_F(SetupThenRelease, TheJournalShowsExactlyTheMappedParameters) {
  startGateway();
  std::string path = write("batch.json", oldSetup().dump(2));
  HostRun configured = setup(path, {"--set", "serverURL=" + gatewayUrl, "--set", "ExitProgramProgram=APPGM",
                                    "--set", "ExitProgramLibrary=APLIB", "--set", "ExitProgramDelimiter=;",
                                    "--map", "PARM20=index:Lines", "--map", "PARM2=none", "--map", "PARM3=value:Batch Name",
                                    "--map", "PARM4=none", "--map", "PARM6=text:EUR"});
  ASSERT_EQ(configured.exitStatus, 0) << configured.err;
  EXPECT_EQ(configured.out, "");

  HostRun run = runHost({QUORLEX_HOST_PROGRAM, "release", path, "--json"});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  std::vector<Json> calls = journal();
  ASSERT_EQ(calls.size(), 3u);
  for (int document = 0; document < 3; ++document) {
    const Json& call = calls[static_cast<std::size_t>(document)];
    EXPECT_EQ(call["program"], "APPGM");
    EXPECT_EQ(call["library"], "APLIB");
    EXPECT_EQ(call["delimiter"], ";");
    Json lines = document == 1 ? Json::array({parameter("PARM20", "A"), parameter("PARM20", "B")})
                               : Json::array({parameter("PARM20", "")});
    Json expected = Json::array({parameter("PARM1", "INV-" + std::to_string(document + 1)), parameter("PARM3", "B-001"),
                                 parameter("PARM6", "EUR")});
    expected.insert(expected.end(), lines.begin(), lines.end());
    EXPECT_EQ(call["parameters"], expected) << "document " << document + 1;
  }
}

TEST_F(SetupThenRelease, ARefusedSetupExitsWithTwoAndLeavesTheFileAsItWas) {
  startGateway();
  std::string text = oldSetup().dump(2);
  std::string path = write("batch.json", text);
  HostRun configured = setup(path, {"--set", "serverURL=" + gatewayUrl, "--map", "PARM1=index:Amount"});
  EXPECT_EQ(configured.exitStatus, 2);
  EXPECT_EQ(configured.err,
            "quorlex-host: --map PARM1=index:Amount refused: \"Amount\" is not one of the \"Document Index Fields\" "
            "(the host file's indexFields)\n");
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), text);
}

}  // namespace
}  // namespace quorlex::end_to_end
