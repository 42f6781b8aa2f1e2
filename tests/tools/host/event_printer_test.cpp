#include "tools/host/event_printer.h"

#include <gtest/gtest.h>

#include "tests/support/host_events.h"

namespace quorlex::host {
namespace {

using test_support::loggedEvent;
using test_support::sentEvent;

TEST(EventPrinter, JsonLinesAreExact) {
  EXPECT_EQ(eventLine(loggedEvent(0, 250, u"Document Released Successfully"), EventFormat::Json),
            R"({"event":"logError","err1":0,"err2":0,"err3":0,"message":"Document Released Successfully",)"
            R"("codeModule":".\\releaseScript","lineNumber":250})");
  EXPECT_EQ(eventLine(sentEvent(u"HTTP Request returned 500 (Internal \"Server\" Error) 100%"), EventFormat::Json),
            R"({"event":"sendMessage","message":"HTTP Request returned 500 (Internal \"Server\" Error) 100%",)"
            R"("errorNumber":1,"infoRet":1})");
  EXPECT_EQ(releasedLine(1, KFX_REL_SUCCESS, EventFormat::Json), R"({"event":"released","document":1,"result":0})");
  EXPECT_EQ(releasedLine(2, KFX_REL_ERROR, EventFormat::Json), R"({"event":"released","document":2,"result":-1})");
}

TEST(EventPrinter, JsonOfAnUnpairedSurrogateIsStillUtf8) {
  EXPECT_EQ(eventLine(sentEvent(std::u16string(u"a") + char16_t(0xD800)), EventFormat::Json),
            "{\"event\":\"sendMessage\",\"message\":\"a\xEF\xBF\xBD\",\"errorNumber\":1,\"infoRet\":1}");
}

TEST(EventPrinter, TextLinesReadAsALog) {
  EXPECT_EQ(eventLine(loggedEvent(0, 250, u"Document Released Successfully"), EventFormat::Text),
            "log      notice  .\\releaseScript:250  Document Released Successfully");
  EXPECT_EQ(eventLine(loggedEvent(1, 238, u"Failed"), EventFormat::Text), "log      error   .\\releaseScript:238  Failed");
  EXPECT_EQ(eventLine(sentEvent(u"Failed"), EventFormat::Text), "message  error 1  Failed");
  EXPECT_EQ(releasedLine(3, KFX_REL_SUCCESS, EventFormat::Text), "document 3: released");
  EXPECT_EQ(releasedLine(4, KFX_REL_ERROR, EventFormat::Text), "document 4: not released (KFX_REL_ERROR)");
}

}  // namespace
}  // namespace quorlex::host
