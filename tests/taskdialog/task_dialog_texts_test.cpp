#include "taskdialog/task_dialog_texts.h"

#include <gtest/gtest.h>

#include "tests/taskdialog/fake_platform.h"

namespace quorlex {
namespace {

using test_support::FakePlatform;
using test_support::callerModule;

TEST(LoadText, ZeroIdsAndTexts) {
  FakePlatform platform;
  platform.addString(callerModule, 11013, u"Map Required Fields");
  const char16_t cancel[] = u"Cancel";

  LoadedText none = LoadText(platform, callerModule, nullptr);
  EXPECT_EQ(none.result, resultOk);
  EXPECT_EQ(none.text, u"");

  LoadedText byId = LoadText(platform, callerModule, textOrIdFromId(11013));
  EXPECT_EQ(byId.result, resultOk);
  EXPECT_EQ(byId.text, u"Map Required Fields");

  LoadedText text = LoadText(platform, callerModule, recordText(cancel));
  EXPECT_EQ(text.result, resultOk);
  EXPECT_EQ(text.text, u"Cancel");
}

TEST(LoadText, AMissingOrEmptyResourceIsTheLastError) {
  FakePlatform platform;
  platform.addString(callerModule, 11014, u"");
  platform.lastErrorValue = 1814;
  EXPECT_EQ(LoadText(platform, callerModule, textOrIdFromId(11099)).result,
            static_cast<ResultCode>(0x80070716));
  EXPECT_EQ(LoadText(platform, callerModule, textOrIdFromId(11014)).result,
            static_cast<ResultCode>(0x80070716));
  // The resource is looked for in the module given, not elsewhere.
  platform.addString(test_support::componentModule, 11015, u"elsewhere");
  EXPECT_NE(LoadText(platform, callerModule, textOrIdFromId(11015)).result, resultOk);
}

TEST(StripLinks, RemovesOnlyTheUpperCaseMarkup) {
  const struct {
    std::u16string_view text;
    std::u16string_view stripped;
  } cases[] = {
      {u"Read the <A HREF=\"help\">manual</A> first.", u"Read the manual first."},
      {u"Read the <a href=\"help\">manual</a> first.", u"Read the <a href=\"help\">manual</a> first."},
      {u"<A HREF=\"a\">one</A> and <A HREF=\"b\">two</A>", u"one and two"},
      {u"closing only</A>", u"closing only"},
      {u"never closed <A HREF=\"x\" and on", u"never closed <A HREF=\"x\" and on"},
      {u"plain text", u"plain text"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripLinks(c.text), c.stripped);
}

}  // namespace
}  // namespace quorlex
