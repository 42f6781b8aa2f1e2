#include "taskdialog/task_dialog_layout.h"

#include <gtest/gtest.h>

#include "tests/taskdialog/dialog_template_reader.h"
#include "tests/taskdialog/fake_measurer.h"

namespace quorlex {
namespace {

using test_support::FakeMeasurer;
using test_support::fakeFont;
using test_support::largeHeight;
using test_support::measureFake;
using test_support::normalHeight;

constexpr std::uint32_t paragraph =
    textFormat::wordBreak | textFormat::expandTabs | textFormat::noPrefix;
constexpr std::uint32_t caption = textFormat::singleLine | textFormat::expandTabs;

const FontHandle normal = fakeFont(normalHeight);  // 6 pixels a character, 16 a line
const FontHandle large = fakeFont(largeHeight);    // 9 pixels a character, 22 a line

LayoutInput baseInput() {
  LayoutInput input;
  input.displayWidth = 1000;  // baseWidth = 580
  input.units = {8, 16};
  input.fonts = {normal, large};
  input.texts.expandedControl = std::u16string(defaultExpandedControlText);
  input.texts.collapsedControl = std::u16string(defaultCollapsedControlText);
  return input;
}

void setContent(LayoutInput& input, std::u16string text) {
  input.texts.content = text;
  input.texts.contentMeasured = std::move(text);
}

void setDetails(LayoutInput& input, std::u16string text) {
  input.texts.details = text;
  input.texts.detailsMeasured = std::move(text);
}

const DialogItem& item(const TaskDialogLayout& layout, int id) {
  for (const DialogItem& i : layout.items) {
    if (i.id == id) return i;
  }
  ADD_FAILURE() << "no item " << id;
  static DialogItem none;
  return none;
}

class Layout : public ::testing::Test {
 protected:
  TaskDialogLayout lay(const LayoutInput& input) { return BuildTaskDialogLayout(input, measurer); }
  FakeMeasurer measurer;
};

// "Hello" and the lone OK button, worked out by hand: baseWidth 580, textLimit 560,
// textWidth = 45 + 1.
TEST_F(Layout, InstructionAndTheLoneOkButton) {
  LayoutInput input = baseInput();
  input.texts.instruction = u"Hello";
  const TaskDialogLayout layout = lay(input);

  ASSERT_EQ(layout.items.size(), 2u);
  const DialogItem& instruction = layout.items[0];
  EXPECT_EQ(instruction.id, 2);  // one above the lone OK button's id
  EXPECT_EQ(instruction.kind, ItemKind::text);
  EXPECT_EQ(instruction.pixels, (Rect{10, 10, 56, 33}));
  EXPECT_EQ(instruction.text, u"Hello");
  const DialogItem& ok = layout.items[1];
  EXPECT_EQ(ok.id, 1);
  EXPECT_EQ(ok.text, u"OK");
  EXPECT_EQ(ok.pixels, (Rect{12, 53, 56, 79}));  // 12 + 32 wide, 16 + 10 high, 10 from the edge
  EXPECT_EQ(ok.style, 0x50010000u | windowStyle::group | windowStyle::defaultPushButton);
  EXPECT_EQ(layout.ids.defaultButton, 1);
  EXPECT_EQ(layout.commonButtonIds, std::vector<int>{1});
  EXPECT_EQ(layout.sep1, 43);
  EXPECT_EQ(layout.sep2, -1);
  EXPECT_EQ(layout.client, (Size{66, 89}));
  EXPECT_EQ(layout.header.style, 0x90C00080u);  // no close box without a way to cancel
  EXPECT_EQ(layout.header.units, (DialogUnitRect{0, 0, 33, 44}));
  EXPECT_EQ(layout.header.itemCount, 2);
}

TEST_F(Layout, TextStartsAtTenOrBesideTheIcon) {
  LayoutInput input = baseInput();
  setContent(input, u"Some content");
  EXPECT_EQ(item(lay(input), 2).pixels.left, 10);
  EXPECT_EQ(measurer.lastCallFor(u"Some content")->widthLimit, 72 + 1);  // measured at textWidth

  measurer.calls.clear();
  input.hasMainIcon = true;
  const TaskDialogLayout withIcon = lay(input);
  EXPECT_EQ(item(withIcon, 2).pixels, (Rect{10, 14, 42, 46}));  // the icon comes first
  EXPECT_EQ(item(withIcon, 3).pixels.left, 52);
  // The first measuring of the content is at textLimit = baseWidth − 52.
  for (const auto& call : measurer.calls) {
    if (call.text == u"Some content") {
      EXPECT_EQ(call.widthLimit, 580 - 52);
      break;
    }
  }
}

TEST_F(Layout, TextLimitIsBaseWidthMinus20WithoutIcon) {
  LayoutInput input = baseInput();
  setContent(input, u"Some content");
  lay(input);
  EXPECT_EQ(measurer.calls.front().widthLimit, 560);
}

TEST_F(Layout, WidthInDialogUnitsIsAnEighthOfTheBaseUnit) {
  LayoutInput input = baseInput();
  input.widthInDialogUnits = 200;  // 8 × 200 ÷ 8 = 200 pixels
  setContent(input, u"Some content");
  lay(input);
  EXPECT_EQ(measurer.calls.front().widthLimit, 180);
}

// Past what a template's 16-bit coordinates hold, the width is the widest they can.
TEST_F(Layout, AnOverlongWidthIsHeldToTheTemplatesRange) {
  LayoutInput input = baseInput();
  input.widthInDialogUnits = 0x7FFFFFFF;
  setContent(input, u"Some content");
  lay(input);
  EXPECT_EQ(measurer.calls.front().widthLimit, 0x7FFF - 20);
}

// Element ids count on from the low 16 bits of the highest button id, all that reaches the
// template, so that a button id at the top of int does not overflow them.
TEST_F(Layout, ElementIdsFollowTheLow16BitsOfTheHighestButton) {
  LayoutInput input = baseInput();
  input.customButtons = {{0x7FFFFFFF, u"Go"}};
  input.texts.instruction = u"Hello";
  const TaskDialogLayout layout = lay(input);
  EXPECT_EQ(layout.ids.instruction, 0x10000);
  EXPECT_EQ(item(layout, 0xFFFF).text, u"Go");  // the template's id of 0x7FFFFFFF
}

TEST_F(Layout, AWideButtonRowWidensTheTextLimit) {
  LayoutInput input = baseInput();
  input.widthInDialogUnits = 40;  // baseWidth = 40, textLimit = 20
  input.commonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON | TDCBF_RETRY_BUTTON;
  setContent(input, u"Some content");
  const TaskDialogLayout layout = lay(input);
  // rowWidth = 3 × (68 + 8) − 8 = 220, so textLimit = 240.
  EXPECT_EQ(measurer.lastCallFor(u"Some content")->widthLimit, 72 + 1);
  bool measuredAt240 = false;
  for (const auto& call : measurer.calls) measuredAt240 |= call.text == u"Some content" && call.widthLimit == 240;
  EXPECT_TRUE(measuredAt240);
  EXPECT_EQ(layout.client.width, 240);
}

TEST_F(Layout, CommonButtonsInRowOrderRightAlignedAndEquallyWide) {
  LayoutInput input = baseInput();
  input.commonButtons = TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON | TDCBF_RETRY_BUTTON;
  setContent(input, u"Short text");
  const TaskDialogLayout layout = lay(input);

  EXPECT_EQ(layout.commonButtonIds, (std::vector<int>{1, 4, 2}));
  // The widest text is "Cancel" (36): every button 68 wide, 26 high, 8 apart.
  EXPECT_EQ(item(layout, 1).pixels, (Rect{10, 47, 78, 73}));
  EXPECT_EQ(item(layout, 4).pixels, (Rect{86, 47, 154, 73}));
  EXPECT_EQ(item(layout, 2).pixels, (Rect{162, 47, 230, 73}));
  EXPECT_EQ(item(layout, 4).text, u"&Retry");
  EXPECT_EQ(layout.client, (Size{240, 83}));  // the row ends 10 from the right edge
  EXPECT_EQ(item(layout, 5).pixels, (Rect{10, 10, 71, 27}));  // content, after the highest id 4
  EXPECT_EQ(layout.ids.defaultButton, 1);
  EXPECT_NE(item(layout, 1).style & windowStyle::defaultPushButton, 0u);
  EXPECT_EQ(item(layout, 2).style & windowStyle::defaultPushButton, 0u);
  EXPECT_EQ(layout.header.style, 0x90C00080u | windowStyle::systemMenu);  // Cancel: a close box
  // Button texts are measured on one line with their mnemonics processed.
  EXPECT_EQ(measurer.lastCallFor(u"&Retry")->format, caption);
}

TEST_F(Layout, TheNamedDefaultButtonWins) {
  LayoutInput input = baseInput();
  input.commonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
  input.defaultButton = idNo;
  const TaskDialogLayout layout = lay(input);
  EXPECT_EQ(layout.ids.defaultButton, idNo);
  EXPECT_EQ(item(layout, idYes).style & windowStyle::defaultPushButton, 0u);
  EXPECT_NE(item(layout, idNo).style & windowStyle::defaultPushButton, 0u);
}

TEST_F(Layout, CustomPushButtonsComeBeforeTheCommonOnes) {
  LayoutInput input = baseInput();
  input.commonButtons = TDCBF_CLOSE_BUTTON;
  input.customButtons = {{100, u"Save"}, {101, u"Discard"}};
  const TaskDialogLayout layout = lay(input);
  EXPECT_EQ(layout.customPushButtonIds, (std::vector<int>{100, 101}));
  EXPECT_LT(item(layout, 100).pixels.left, item(layout, 101).pixels.left);
  EXPECT_LT(item(layout, 101).pixels.left, item(layout, idClose).pixels.left);
  EXPECT_EQ(item(layout, 100).style, 0x50010000u | windowStyle::defaultPushButton);
  EXPECT_EQ(item(layout, idClose).style, 0x50010000u | windowStyle::group);
  // "Discard" (42) is the widest: 74 each.
  EXPECT_EQ(item(layout, 100).pixels.width(), 74);
  EXPECT_EQ(item(layout, idClose).pixels.width(), 74);
}

// The setup sheet's question: icon, title, instruction, two command links with notes.
class RequiredMappingQuestion : public Layout {
 protected:
  static constexpr std::u16string_view instruction =
      u"One or more fields that are marked as 'Required' have not been mapped. What would you "
      u"like to do?";
  static constexpr std::u16string_view mapText =
      u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with "
      u"'Parameter 4'.";
  static constexpr std::u16string_view ignoreText =
      u"Ignore Requirement\nDo not map the Required fields and close this dialog immediately.";

  LayoutInput questionInput() {
    LayoutInput input = baseInput();
    input.flags = TDF_USE_COMMAND_LINKS;
    input.hasMainIcon = true;
    input.texts.title = u"Required field not Mapped";
    input.texts.instruction = std::u16string(instruction);
    input.customButtons = {{541, std::u16string(mapText)}, {542, std::u16string(ignoreText)}};
    input.defaultButton = 541;
    return input;
  }
};

TEST_F(RequiredMappingQuestion, LaysOutAtThePositionsGiven) {
  const TaskDialogLayout layout = lay(questionInput());
  ASSERT_EQ(layout.items.size(), 4u);
  const DialogItem& icon = layout.items[0];
  const DialogItem& text = layout.items[1];
  const DialogItem& map = layout.items[2];
  const DialogItem& ignore = layout.items[3];

  EXPECT_EQ(icon.pixels, (Rect{10, 14, 42, 46}));
  EXPECT_EQ(icon.id, 543);
  EXPECT_EQ(text.id, 544);
  EXPECT_EQ(text.pixels.left, 52);
  EXPECT_EQ(text.pixels.top, 10);
  EXPECT_EQ(map.id, 541);
  EXPECT_EQ(ignore.id, 542);
  EXPECT_EQ(map.pixels.top, text.pixels.bottom + 10);
  EXPECT_EQ(ignore.pixels.top, map.pixels.bottom);
  for (const DialogItem* link : {&map, &ignore}) {
    EXPECT_EQ(link->pixels.left, 52);
    EXPECT_EQ(link->pixels.right, text.pixels.right);
    EXPECT_EQ(link->kind, ItemKind::button);
  }
  // Each link: the main text's line (22) + 25 + the note wrapped at textRight − textLeft − 46.
  const int noteWidth = map.pixels.width() - 46;
  const int mapNote = measureFake(normal, splitCommandLinkText(mapText).note.value(), noteWidth,
                                  paragraph).height;
  const int ignoreNote = measureFake(normal, splitCommandLinkText(ignoreText).note.value(),
                                     noteWidth, paragraph).height;
  EXPECT_EQ(map.pixels.height(), 22 + 25 + mapNote);
  EXPECT_EQ(ignore.pixels.height(), 22 + 25 + ignoreNote);
  EXPECT_EQ(layout.client.height,
            text.pixels.height() + map.pixels.height() + ignore.pixels.height() + 45);
  // No button row, no separator: the whole dialog is white.
  EXPECT_TRUE(layout.commonButtonIds.empty());
  EXPECT_EQ(layout.sep1, -1);
  EXPECT_EQ(layout.sep2, -1);
  EXPECT_EQ(layout.ids.defaultButton, 541);
  EXPECT_EQ(map.style, 0x50010000u | 0x14Bu | windowStyle::defaultPushButton);
  EXPECT_EQ(ignore.style, 0x50010000u | 0x14Bu);
  EXPECT_EQ(layout.header.style, 0x90C00080u);  // no close box
}

TEST_F(RequiredMappingQuestion, TheLinksWidenTheTextColumn) {
  const TaskDialogLayout layout = lay(questionInput());
  // textWidth is the widest of the instruction at textLimit = 528 and each link text + 20 + 26.
  const int limit = 528;
  int widest = measureFake(large, instruction, limit, paragraph).width + 1;
  for (std::u16string_view text : {mapText, ignoreText}) {
    const CommandLinkText parts = splitCommandLinkText(text);
    widest = std::max(widest, measureFake(large, parts.main, limit, caption).width + 46);
    widest = std::max(widest, measureFake(normal, *parts.note, limit, paragraph).width + 46);
  }
  EXPECT_EQ(layout.items[1].pixels.width(), widest);
  EXPECT_EQ(layout.client.width, 52 + widest + 10);
}

TEST_F(RequiredMappingQuestion, TemplateBytesMatchTheItemList) {
  LayoutInput input = questionInput();
  const TaskDialogLayout layout = lay(input);
  const std::vector<std::uint8_t> bytes =
      encodeDialogTemplate(layout.header, input.texts.title, layout.items);
  const std::optional<test_support::ReadTemplate> read = test_support::readDialogTemplate(bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->title, u"Required field not Mapped");
  EXPECT_EQ(read->style, layout.header.style);
  EXPECT_EQ(read->extendedStyle, 0u);
  EXPECT_EQ(read->units, (DialogUnitRect{0, 0, static_cast<std::int16_t>(layout.client.width / 2),
                                         static_cast<std::int16_t>(layout.client.height / 2)}));
  ASSERT_EQ(read->items.size(), layout.items.size());
  for (std::size_t i = 0; i < layout.items.size(); ++i) {
    const DialogItem& expected = layout.items[i];
    const test_support::ReadItem& got = read->items[i];
    EXPECT_EQ(got.offset % 4, 0u);
    EXPECT_EQ(got.style, expected.style);
    EXPECT_EQ(got.extendedStyle, 0u);
    EXPECT_EQ(got.id, expected.id);
    EXPECT_EQ(got.className, expected.className);
    EXPECT_EQ(got.text, expected.text);
    EXPECT_EQ(got.units, toDialogUnits(expected.pixels, {8, 16}));
  }
  EXPECT_EQ(read->items[0].className, u"Static");
  EXPECT_EQ(read->items[2].className, u"Button");
  EXPECT_EQ(read->items[3].text, ignoreText);
}

TEST_F(Layout, OnlyCommandLinksLeaveNoButtonRowButTheGapStays) {
  LayoutInput input = baseInput();
  input.flags = TDF_USE_COMMAND_LINKS;
  input.customButtons = {{200, u"Go"}};
  const TaskDialogLayout layout = lay(input);
  // y: 5, +5 before the links, the link (22 + 20), +5 after, +15 gap, +5 at the end.
  EXPECT_EQ(item(layout, 200).pixels, (Rect{10, 10, 10 + 18 + 46, 52}));
  EXPECT_EQ(layout.sep1, -1);
  EXPECT_EQ(layout.client.height, 52 + 5 + 15 + 5);

  input.texts.verification = u"Do not ask again";
  const TaskDialogLayout withCheckBox = lay(input);
  EXPECT_EQ(withCheckBox.sep1, 62);  // the check box makes a grey area
  EXPECT_EQ(item(withCheckBox, withCheckBox.ids.verification).pixels.top, 72);
  EXPECT_EQ(item(withCheckBox, withCheckBox.ids.verification).kind, ItemKind::checkBox);
}

TEST_F(Layout, WithoutTheGlyphTheLinkTextHasTheWholeWidth) {
  LayoutInput input = baseInput();
  input.flags = TDF_USE_COMMAND_LINKS | TDF_USE_COMMAND_LINKS_NO_ICON;
  input.customButtons = {{200, u"Go"}};
  EXPECT_EQ(item(lay(input), 200).pixels, (Rect{10, 10, 10 + 18 + 20, 52}));
}

TEST_F(Layout, NoIconFlagAloneLeavesPushButtons) {
  LayoutInput input = baseInput();
  input.flags = TDF_USE_COMMAND_LINKS_NO_ICON;
  input.customButtons = {{200, u"Go\nnot a note"}};
  const TaskDialogLayout layout = lay(input);
  EXPECT_TRUE(layout.commandLinkIds.empty());
  EXPECT_EQ(layout.customPushButtonIds, std::vector<int>{200});
  EXPECT_EQ(item(layout, 200).style, 0x50010000u | windowStyle::defaultPushButton);
}

TEST_F(Layout, WithCommandLinksAndNoDefaultTheFirstLinkIsTheDefault) {
  LayoutInput input = baseInput();
  input.flags = TDF_USE_COMMAND_LINKS;
  input.commonButtons = TDCBF_CANCEL_BUTTON;
  input.customButtons = {{300, u"First"}, {301, u"Second"}};
  const TaskDialogLayout layout = lay(input);
  EXPECT_EQ(layout.ids.defaultButton, 300);
  EXPECT_EQ(item(layout, idCancel).style & windowStyle::defaultPushButton, 0u);
  EXPECT_EQ(layout.commonButtonIds, std::vector<int>{idCancel});  // the row holds only Cancel
}

TEST_F(Layout, LinkMarkupIsMeasuredWithoutTagsAndShownWithThem) {
  LayoutInput input = baseInput();
  input.flags = TDF_ENABLE_HYPERLINKS;
  input.texts.content = u"Read <A HREF=\"x\">this</A> now";
  input.texts.contentMeasured = u"Read this now";
  const TaskDialogLayout layout = lay(input);
  const DialogItem& content = item(layout, 2);
  EXPECT_EQ(content.kind, ItemKind::link);
  EXPECT_EQ(content.className, u"SysLink");
  EXPECT_EQ(content.text, u"Read <A HREF=\"x\">this</A> now");
  EXPECT_EQ(content.pixels.width(), 13 * 6 + 1);
  EXPECT_EQ(measurer.lastCallFor(u"Read <A HREF=\"x\">this</A> now"), nullptr);

  input.flags = 0;
  EXPECT_EQ(item(lay(input), 2).kind, ItemKind::text);
}

TEST_F(Layout, CollapsedDetailsAddNothingExpandedOnesTheirHeightAndTen) {
  LayoutInput input = baseInput();
  input.flags = TDF_SHOW_PROGRESS_BAR;
  setContent(input, u"Content");
  const TaskDialogLayout without = lay(input);

  setDetails(input, u"Details");
  const TaskDialogLayout collapsed = lay(input);
  const DialogItem& details = item(collapsed, collapsed.ids.details);
  EXPECT_EQ(details.style & windowStyle::visible, 0u);
  EXPECT_EQ(details.pixels, (Rect{10, 37, 10 + 43, 37 + 17}));
  EXPECT_EQ(item(collapsed, collapsed.ids.progressBar).pixels.top,
            item(without, without.ids.progressBar).pixels.top);
  EXPECT_EQ(item(collapsed, collapsed.ids.detailsButton).text, defaultCollapsedControlText);

  input.expanded = true;
  const TaskDialogLayout expanded = lay(input);
  EXPECT_NE(item(expanded, expanded.ids.details).style & windowStyle::visible, 0u);
  EXPECT_EQ(item(expanded, expanded.ids.progressBar).pixels.top,
            item(collapsed, collapsed.ids.progressBar).pixels.top + 5 + 17 + 5);
  EXPECT_EQ(expanded.client.height, collapsed.client.height + 27);
  EXPECT_EQ(item(expanded, expanded.ids.detailsButton).text, defaultExpandedControlText);
}

TEST_F(Layout, TheDetailsButtonAndCheckBoxSitBelowTheRow) {
  LayoutInput input = baseInput();
  input.commonButtons = TDCBF_OK_BUTTON;
  input.texts.instruction = u"Hello";
  setDetails(input, u"More");
  input.texts.verification = u"&Remember";
  const TaskDialogLayout layout = lay(input);
  // Row at 53 as with the lone OK; the details button 10 from the left below it, as wide as
  // "Hide details <<" (90) + 32; the check box below that.
  EXPECT_EQ(item(layout, layout.ids.detailsButton).pixels, (Rect{10, 84, 132, 110}));
  const DialogItem& check = item(layout, layout.ids.verification);
  EXPECT_EQ(check.pixels.top, 115);
  EXPECT_EQ(check.pixels.height(), 17);
  EXPECT_EQ(check.text, u"&Remember");
  EXPECT_EQ(measurer.lastCallFor(u"&Remember")->format,
            textFormat::wordBreak | textFormat::expandTabs);
  EXPECT_EQ(layout.client.height, 115 + 17 + 5 + 5);
}

TEST_F(Layout, FooterWithIconBelowTheButtonArea) {
  LayoutInput input = baseInput();
  input.texts.instruction = u"Hello";
  input.texts.footer = u"Footer";
  input.texts.footerMeasured = u"Footer";
  input.hasFooterIcon = true;
  const TaskDialogLayout layout = lay(input);
  // After the row (y 84): +5 is the second separator, +10 the footer's top.
  EXPECT_EQ(layout.sep1, 43);
  EXPECT_EQ(layout.sep2, 89);
  EXPECT_EQ(item(layout, layout.ids.footerIcon).pixels, (Rect{10, 99, 26, 115}));
  const DialogItem& footer = item(layout, layout.ids.footer);
  EXPECT_EQ(footer.pixels, (Rect{31, 99, 56, 99 + 17}));
  EXPECT_EQ(layout.client.height, 116 + 5 + 5);
}

TEST_F(Layout, TallFooterCentresItsIcon) {
  LayoutInput input = baseInput();
  input.widthInDialogUnits = 80;  // textLimit = 60: ten characters a line
  input.flags = TDF_USE_COMMAND_LINKS;
  input.customButtons = {{200, u"Go"}};
  input.texts.footer = u"one two three four five";
  input.texts.footerMeasured = input.texts.footer;
  input.hasFooterIcon = true;
  const TaskDialogLayout layout = lay(input);
  EXPECT_EQ(layout.sep1, 77);  // no button area: the footer's separator is the first
  EXPECT_EQ(layout.sep2, -1);
  const DialogItem& footer = item(layout, layout.ids.footer);
  EXPECT_EQ(footer.pixels.height(), 3 * 16 + 1);
  EXPECT_EQ(item(layout, layout.ids.footerIcon).pixels.top, footer.pixels.top + (49 - 16) / 2);
}

TEST_F(Layout, ExpandedDetailsInTheFooterGetTheirOwnSeparator) {
  LayoutInput input = baseInput();
  input.flags = TDF_EXPAND_FOOTER_AREA;
  input.expanded = true;
  input.texts.instruction = u"Hello";
  input.texts.footer = u"Footer";
  input.texts.footerMeasured = u"Footer";
  setDetails(input, u"Details");
  const TaskDialogLayout layout = lay(input);
  const DialogItem& details = item(layout, layout.ids.details);
  const DialogItem& footer = item(layout, layout.ids.footer);
  EXPECT_EQ(details.pixels.left, 10);
  EXPECT_EQ(details.pixels.top, footer.pixels.bottom + 5 + 15);
  EXPECT_EQ(layout.sep3, details.pixels.top - 10);
  EXPECT_EQ(layout.client.height, details.pixels.bottom + 5 + 5);

  input.expanded = false;
  const TaskDialogLayout collapsed = lay(input);
  EXPECT_EQ(collapsed.sep3, -1);
  EXPECT_EQ(collapsed.client.height, footer.pixels.bottom + 5 + 5);
}

TEST_F(Layout, RadioButtonsAndTheProgressBar) {
  LayoutInput input = baseInput();
  input.flags = TDF_SHOW_MARQUEE_PROGRESS_BAR;
  input.texts.instruction = u"Hello";
  input.radioButtons = {{10, u"&First"}, {11, u"Second"}};
  const TaskDialogLayout layout = lay(input);
  const DialogItem& progress = item(layout, layout.ids.progressBar);
  EXPECT_EQ(progress.pixels, (Rect{10, 43, layout.client.width - 10, 57}));
  EXPECT_EQ(progress.style, 0x50000001u | windowStyle::marquee);
  const DialogItem& first = item(layout, 10);
  const DialogItem& second = item(layout, 11);
  EXPECT_EQ(first.pixels, (Rect{20, 67, 56, 83}));
  EXPECT_EQ(second.pixels.top, 88);
  EXPECT_EQ(first.style, 0x50000009u | windowStyle::group);
  EXPECT_EQ(second.style, 0x50000009u);
  EXPECT_EQ(measurer.lastCallFor(u"&First")->format, textFormat::expandTabs);
  EXPECT_EQ(layout.ids.instruction, 12);  // after the highest radio id
}

TEST_F(Layout, AShortTextBesideTheIconStillClearsIt) {
  LayoutInput input = baseInput();
  input.hasMainIcon = true;
  input.texts.instruction = u"Hi";
  const TaskDialogLayout layout = lay(input);
  // y would be 38 after the instruction; below the icon it becomes 51.
  EXPECT_EQ(layout.sep1, 56);
}

TEST_F(Layout, HeaderStylesFollowTheFlags) {
  const struct {
    std::uint32_t flags;
    std::uint32_t style;
    std::uint32_t extendedStyle;
  } cases[] = {
      {0, 0x90C00080, 0},
      {TDF_ALLOW_DIALOG_CANCELLATION, 0x90C80080, 0},
      {TDF_POSITION_RELATIVE_TO_WINDOW, 0x90C00880, 0},
      {TDF_CAN_BE_MINIMIZED, 0x90C20080, 0},
      {TDF_RTL_LAYOUT, 0x90C00080, 0x3000},
  };
  for (const auto& c : cases) {
    LayoutInput input = baseInput();
    input.flags = c.flags;
    const TaskDialogLayout layout = lay(input);
    EXPECT_EQ(layout.header.style, c.style) << c.flags;
    EXPECT_EQ(layout.header.extendedStyle, c.extendedStyle) << c.flags;
  }
}

TEST_F(Layout, ACommandLinkWithoutANoteIsItsLinePlusTwenty) {
  EXPECT_EQ(MeasureCommandLink(u"Just go", 200, {normal, large}, measurer), 22 + 20);
  EXPECT_EQ(MeasureCommandLink(u"Go\none two three", 60, {normal, large}, measurer),
            22 + 25 + 2 * 16);
}

}  // namespace
}  // namespace quorlex
