#include "tools/host/event_printer.h"

#include <gtest/gtest.h>

namespace quorlex::host {
namespace {

HostEvent logged(std::int32_t level, std::int32_t line, std::u16string message) {
  HostEvent event;
  event.err1 = level;
  event.lineNumber = line;
  event.codeModule = u".\\releaseScript";
  event.message = std::move(message);
  return event;
}

HostEvent sent(std::u16string message) {
  HostEvent event;
  event.kind = HostEvent::Kind::SendMessage;
  event.message = std::move(message);
  event.errorNumber = 1;
  event.infoRet = 1;
  return event;
}

TEST(EventPrinter, JsonLinesAreExact) {
  EXPECT_EQ(eventLine(logged(0, 250, u"Document Released Successfully"), EventFormat::Json),
            R"({"event":"logError","err1":0,"err2":0,"err3":0,"message":"Document Released Successfully",)"
            R"("codeModule":".\\releaseScript","lineNumber":250})");
  EXPECT_EQ(eventLine(sent(u"HTTP Request returned 500 (Internal \"Server\" Error) 100%"), EventFormat::Json),
            R"({"event":"sendMessage","message":"HTTP Request returned 500 (Internal \"Server\" Error) 100%",)"
            R"("errorNumber":1,"infoRet":1})");
  EXPECT_EQ(releasedLine(1, KFX_REL_SUCCESS, EventFormat::Json), R"({"event":"released","document":1,"result":0})");
  EXPECT_EQ(releasedLine(2, KFX_REL_ERROR, EventFormat::Json), R"({"event":"released","document":2,"result":-1})");
}

TEST(EventPrinter, JsonOfAnUnpairedSurrogateIsStillUtf8) {
  EXPECT_EQ(eventLine(sent(std::u16string(u"a") + char16_t(0xD800)), EventFormat::Json),
            "{\"event\":\"sendMessage\",\"message\":\"a\xEF\xBF\xBD\",\"errorNumber\":1,\"infoRet\":1}");
}

TEST(EventPrinter, TextLinesReadAsALog) {
  EXPECT_EQ(eventLine(logged(0, 250, u"Document Released Successfully"), EventFormat::Text),
            "log      notice  .\\releaseScript:250  Document Released Successfully");
  EXPECT_EQ(eventLine(logged(1, 238, u"Failed"), EventFormat::Text), "log      error   .\\releaseScript:238  Failed");
  EXPECT_EQ(eventLine(sent(u"Failed"), EventFormat::Text), "message  error 1  Failed");
  EXPECT_EQ(releasedLine(3, KFX_REL_SUCCESS, EventFormat::Text), "document 3: released");
  EXPECT_EQ(releasedLine(4, KFX_REL_ERROR, EventFormat::Text), "document 4: not released (KFX_REL_ERROR)");
}

}  // namespace
}  // namespace quorlex::host
