#include "tools/gateway/journal.h"

#include <gtest/gtest.h>

namespace quorlex::gateway {
namespace {

TEST(Journal, OneLineNamesTheCallAndItsParametersInOrder) {
  ExitProgramCall call;
  call.client = "127.0.0.1:5000";
  call.program = "INVPGM";
  call.library = "QGPL";
  call.delimiter = "|";
  call.parameters = {{"PARM1", "INV123"}, {"PARM3", "A"}, {"PARM3", "Gr\xC3\xBC\xC3\x9F\x65"}};
  call.bodyBytes = 426;
  EXPECT_EQ(journalLine(call, "2024-05-01T12:00:00.000Z"),
            "{\"time\":\"2024-05-01T12:00:00.000Z\",\"client\":\"127.0.0.1:5000\",\"program\":\"INVPGM\","
            "\"library\":\"QGPL\",\"delimiter\":\"|\",\"parameters\":[{\"name\":\"PARM1\",\"value\":\"INV123\"},"
            "{\"name\":\"PARM3\",\"value\":\"A\"},{\"name\":\"PARM3\",\"value\":\"Gr\xC3\xBC\xC3\x9F\x65\"}],"
            "\"bodyBytes\":426}");
}

TEST(Journal, StrayBytesAndBytesThatAreNotUtf8AreShown) {
  ExitProgramCall call;
  call.program = "P";
  call.parameters = {{"PARM1", "a\xFF"}};
  call.strayBytes = 4;
  std::string line = journalLine(call, "t");
  EXPECT_NE(line.find("\"value\":\"a\xEF\xBF\xBD\""), std::string::npos);
  EXPECT_NE(line.find(",\"strayBytesBefore\":4}"), std::string::npos);
}

}  // namespace
}  // namespace quorlex::gateway
