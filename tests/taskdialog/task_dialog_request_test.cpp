#include "taskdialog/task_dialog_request.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace quorlex {
namespace {

constexpr std::size_t ptr = sizeof(void*);

// The record is handed unchanged to the platform: every field at its published place.
TEST(TaskDialogRequest, FieldsLieInThePublishedOrderWithoutPadding) {
  const struct {
    std::size_t offset;
    std::size_t expected;
    const char* field;
  } fields[] = {
      {offsetof(TASKDIALOGCONFIG, cbSize), 0, "cbSize"},
      {offsetof(TASKDIALOGCONFIG, hwndParent), 4, "hwndParent"},
      {offsetof(TASKDIALOGCONFIG, hInstance), 4 + ptr, "hInstance"},
      {offsetof(TASKDIALOGCONFIG, dwFlags), 4 + 2 * ptr, "dwFlags"},
      {offsetof(TASKDIALOGCONFIG, dwCommonButtons), 8 + 2 * ptr, "dwCommonButtons"},
      {offsetof(TASKDIALOGCONFIG, pszWindowTitle), 12 + 2 * ptr, "pszWindowTitle"},
      {offsetof(TASKDIALOGCONFIG, pszMainIcon), 12 + 3 * ptr, "pszMainIcon"},
      {offsetof(TASKDIALOGCONFIG, hMainIcon), 12 + 3 * ptr, "hMainIcon"},
      {offsetof(TASKDIALOGCONFIG, pszMainInstruction), 12 + 4 * ptr, "pszMainInstruction"},
      {offsetof(TASKDIALOGCONFIG, pszContent), 12 + 5 * ptr, "pszContent"},
      {offsetof(TASKDIALOGCONFIG, cButtons), 12 + 6 * ptr, "cButtons"},
      {offsetof(TASKDIALOGCONFIG, pButtons), 16 + 6 * ptr, "pButtons"},
      {offsetof(TASKDIALOGCONFIG, nDefaultButton), 16 + 7 * ptr, "nDefaultButton"},
      {offsetof(TASKDIALOGCONFIG, cRadioButtons), 20 + 7 * ptr, "cRadioButtons"},
      {offsetof(TASKDIALOGCONFIG, pRadioButtons), 24 + 7 * ptr, "pRadioButtons"},
      {offsetof(TASKDIALOGCONFIG, nDefaultRadioButton), 24 + 8 * ptr, "nDefaultRadioButton"},
      {offsetof(TASKDIALOGCONFIG, pszVerificationText), 28 + 8 * ptr, "pszVerificationText"},
      {offsetof(TASKDIALOGCONFIG, pszExpandedInformation), 28 + 9 * ptr, "pszExpandedInformation"},
      {offsetof(TASKDIALOGCONFIG, pszExpandedControlText), 28 + 10 * ptr, "pszExpandedControlText"},
      {offsetof(TASKDIALOGCONFIG, pszCollapsedControlText), 28 + 11 * ptr,
       "pszCollapsedControlText"},
      {offsetof(TASKDIALOGCONFIG, pszFooterIcon), 28 + 12 * ptr, "pszFooterIcon"},
      {offsetof(TASKDIALOGCONFIG, pszFooter), 28 + 13 * ptr, "pszFooter"},
      {offsetof(TASKDIALOGCONFIG, pfCallback), 28 + 14 * ptr, "pfCallback"},
      {offsetof(TASKDIALOGCONFIG, lpCallbackData), 28 + 15 * ptr, "lpCallbackData"},
      {offsetof(TASKDIALOGCONFIG, cxWidth), 28 + 16 * ptr, "cxWidth"},
  };
  for (const auto& f : fields) EXPECT_EQ(f.offset, f.expected) << f.field;
  EXPECT_EQ(sizeof(TASKDIALOGCONFIG), 32 + 16 * ptr);
  EXPECT_EQ(taskDialogConfigSize, sizeof(TASKDIALOGCONFIG));
  EXPECT_EQ(sizeof(TASKDIALOG_BUTTON), 4 + ptr);
  EXPECT_EQ(offsetof(TASKDIALOG_BUTTON, pszButtonText), 4u);
}

TEST(TaskDialogRequest, CommonButtonBitsGiveTheirIds) {
  const struct {
    std::uint32_t bit;
    int id;
  } cases[] = {{TDCBF_OK_BUTTON, 1},     {TDCBF_YES_BUTTON, 6},   {TDCBF_NO_BUTTON, 7},
               {TDCBF_CANCEL_BUTTON, 2}, {TDCBF_RETRY_BUTTON, 4}, {TDCBF_CLOSE_BUTTON, 8}};
  for (const auto& c : cases) EXPECT_EQ(commonButtonId(c.bit), c.id) << c.bit;
  EXPECT_EQ(commonButtonId(0x40), std::nullopt);
  EXPECT_EQ(commonButtonId(TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON), std::nullopt);
}

TEST(TaskDialogRequest, TextOrIdTellsNoTextIdsAndTexts) {
  const char16_t cancel[] = u"Cancel";
  EXPECT_FALSE(isResourceId(textOrIdValue(nullptr)));
  EXPECT_FALSE(isTextPointer(textOrIdValue(nullptr)));
  EXPECT_TRUE(isResourceId(textOrIdValue(textOrIdFromId(11013))));
  EXPECT_EQ(textOrIdValue(textOrIdFromId(11013)), 11013u);
  EXPECT_TRUE(isResourceId(0xFFFF));
  EXPECT_TRUE(isTextPointer(textOrIdValue(recordText(cancel))));
  EXPECT_EQ(std::u16string_view(systemText(recordText(cancel))), u"Cancel");
  EXPECT_TRUE(isStandardIconId(warningIconId));
  EXPECT_TRUE(isStandardIconId(shieldIconId));
  EXPECT_FALSE(isStandardIconId(11020));
}

TEST(TaskDialogRequest, CommandLinkTextSplitsAtTheFirstLineFeed) {
  const struct {
    std::u16string_view text;
    std::u16string_view main;
    std::optional<std::u16string_view> note;
  } cases[] = {
      {u"Ignore Requirement\nDo not map.", u"Ignore Requirement", u"Do not map."},
      {u"Just a link", u"Just a link", std::nullopt},
      {u"Main\n", u"Main", u""},
      {u"Main\nfirst\nsecond", u"Main", u"first\nsecond"},
  };
  for (const auto& c : cases) {
    const CommandLinkText parts = splitCommandLinkText(c.text);
    EXPECT_EQ(parts.main, c.main);
    EXPECT_EQ(parts.note, c.note);
  }
}

TEST(TaskDialogRequest, FlagsReadAndWriteAsUnsignedBits) {
  TASKDIALOGCONFIG config{};
  setFlags(config, TDF_USE_COMMAND_LINKS | TDF_CAN_BE_MINIMIZED);
  EXPECT_EQ(flagsOf(config), 0x8010u);
}

}  // namespace
}  // namespace quorlex
