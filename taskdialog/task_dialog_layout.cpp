#include "taskdialog/task_dialog_layout.h"

#include <algorithm>

namespace quorlex {
namespace {

constexpr std::uint32_t paragraphFormat =
    textFormat::wordBreak | textFormat::expandTabs | textFormat::noPrefix;
// Button and link captions: one line, "&" marks a mnemonic.
constexpr std::uint32_t captionFormat = textFormat::singleLine | textFormat::expandTabs;
constexpr std::uint32_t verificationFormat = textFormat::wordBreak | textFormat::expandTabs;
constexpr std::uint32_t radioFormat = textFormat::expandTabs;

constexpr int margin = 10;
constexpr int iconTextLeft = 52;  // a 32-pixel icon at x 10, then 10 more
constexpr Rect mainIconRect{10, 14, 42, 46};
constexpr int buttonGap = 8;
constexpr int linkGlyphWidth = 26;
constexpr int progressBarHeight = 14;
constexpr int footerIconSize = 16;
// Template coordinates are 16-bit dialog units, at least a pixel each.
constexpr int maxDialogPixels = 0x7FFF;

TextSize measureText(ITextMeasurer& measurer, FontHandle font, std::u16string_view text,
                     int widthLimit, std::uint32_t format) {
  if (text.empty()) return {};
  return measurer.measure(font, text, widthLimit, format);
}

bool hasCommandLinks(const LayoutInput& input) {
  return (input.flags & TDF_USE_COMMAND_LINKS) != 0;
}

std::vector<std::size_t> commonButtonsInUse(const LayoutInput& input) {
  std::vector<std::size_t> indexes;
  for (std::size_t i = 0; i < commonButtonTable.size(); ++i) {
    if ((input.commonButtons & commonButtonTable[i].bit) != 0) indexes.push_back(i);
  }
  return indexes;
}

// Without any button the row holds one OK button.
bool needsLoneOk(const LayoutInput& input) {
  return commonButtonsInUse(input).empty() && input.customButtons.empty();
}

int pushButtonCount(const LayoutInput& input) {
  if (needsLoneOk(input)) return 1;
  std::size_t count = commonButtonsInUse(input).size();
  if (!hasCommandLinks(input)) count += input.customButtons.size();
  return static_cast<int>(count);
}

class LayoutBuilder {
 public:
  LayoutBuilder(const LayoutInput& input, ITextMeasurer& measurer)
      : input_(input), measurer_(measurer) {}

  TaskDialogLayout build();

 private:
  struct Heights {
    int instruction = 0;
    int content = 0;
    int details = 0;
    int verification = 0;
    int footer = 0;
  };

  TextSize measure(FontHandle font, std::u16string_view text, int limit, std::uint32_t format) {
    return measureText(measurer_, font, text, limit, format);
  }
  int measureTextWidth(int textLimit);
  Heights finalHeights(int textWidth, int textLimit);
  ItemKind paragraphKind() const {
    return (input_.flags & TDF_ENABLE_HYPERLINKS) != 0 ? ItemKind::link : ItemKind::text;
  }
  int AddItem(ItemKind kind, int id, const Rect& pixels, std::u16string_view text,
              std::uint32_t addStyle = 0, std::uint32_t removeStyle = 0);
  int newId() { return nextId_++; }

  const LayoutInput& input_;
  ITextMeasurer& measurer_;
  TaskDialogLayout layout_;
  int nextId_ = 0;
};

int LayoutBuilder::measureTextWidth(int textLimit) {
  const TaskDialogTexts& texts = input_.texts;
  const LayoutFonts& fonts = input_.fonts;
  int width = std::max({
      measure(fonts.large, texts.instruction, textLimit, paragraphFormat).width,
      measure(fonts.normal, texts.contentMeasured, textLimit, paragraphFormat).width,
      measure(fonts.normal, texts.detailsMeasured, textLimit, paragraphFormat).width,
      measure(fonts.normal, texts.verification, textLimit, verificationFormat).width,
      measure(fonts.normal, texts.footerMeasured, textLimit, paragraphFormat).width,
  });
  width += 1;
  if (!hasCommandLinks(input_)) return width;
  const int extra =
      20 + ((input_.flags & TDF_USE_COMMAND_LINKS_NO_ICON) != 0 ? 0 : linkGlyphWidth);
  for (const ButtonText& link : input_.customButtons) {
    const CommandLinkText parts = splitCommandLinkText(link.text);
    width = std::max(width, measure(fonts.large, parts.main, textLimit, captionFormat).width + extra);
    if (parts.note) {
      width = std::max(width,
                       measure(fonts.normal, *parts.note, textLimit, paragraphFormat).width + extra);
    }
  }
  return width;
}

LayoutBuilder::Heights LayoutBuilder::finalHeights(int textWidth, int textLimit) {
  const TaskDialogTexts& texts = input_.texts;
  const LayoutFonts& fonts = input_.fonts;
  Heights heights;
  heights.instruction =
      measure(fonts.large, texts.instruction, textWidth, paragraphFormat).height + 1;
  heights.content =
      measure(fonts.normal, texts.contentMeasured, textWidth, paragraphFormat).height + 1;
  heights.details =
      measure(fonts.normal, texts.detailsMeasured, textWidth, paragraphFormat).height + 1;
  heights.verification =
      measure(fonts.normal, texts.verification, textLimit, verificationFormat).height + 1;
  heights.footer = measure(fonts.normal, texts.footerMeasured, textLimit, paragraphFormat).height + 1;
  return heights;
}

int LayoutBuilder::AddItem(ItemKind kind, int id, const Rect& pixels, std::u16string_view text,
                           std::uint32_t addStyle, std::uint32_t removeStyle) {
  DialogItem item;
  item.kind = kind;
  item.pixels = pixels;
  item.units = toDialogUnits(pixels, input_.units);
  item.id = static_cast<std::uint16_t>(id);
  item.className = std::u16string(itemClassName(kind));
  item.text = std::u16string(text);
  item.style = itemBaseStyle(kind) | addStyle;
  if (kind == ItemKind::button && layout_.ids.defaultButton == -1) {
    const bool isDefault = input_.defaultButton != 0 ? id == input_.defaultButton : true;
    if (isDefault) {
      item.style |= windowStyle::defaultPushButton;
      layout_.ids.defaultButton = id;
    }
  }
  item.style &= ~removeStyle;
  layout_.items.push_back(std::move(item));
  return id;
}

TaskDialogLayout LayoutBuilder::build() {
  const std::uint32_t flags = input_.flags;
  const TaskDialogTexts& texts = input_.texts;
  const bool commandLinks = hasCommandLinks(input_);
  const bool detailsInFooter = (flags & TDF_EXPAND_FOOTER_AREA) != 0;
  const std::uint32_t hideWhenCollapsed = input_.expanded ? 0 : windowStyle::visible;

  // Widths: the base width, the text limit, the button row.
  // A requested width beyond what a template can hold is taken as the widest it can.
  const int baseWidth =
      input_.widthInDialogUnits != 0
          ? static_cast<int>(std::min<std::int64_t>(
                std::int64_t{input_.units.horizontal} * input_.widthInDialogUnits / 8, maxDialogPixels))
          : input_.displayWidth / 2 + 80;
  int textLimit = baseWidth - (input_.hasMainIcon ? iconTextLeft : 2 * margin);
  const ButtonMetrics buttons = MeasureButtons(input_, measurer_, textLimit);
  const int pushButtons = pushButtonCount(input_);
  const int rowWidth = pushButtons * (buttons.width + buttonGap) - buttonGap;
  if (textLimit < rowWidth) textLimit = rowWidth + 20;
  const int textWidth = measureTextWidth(textLimit);
  const Heights heights = finalHeights(textWidth, textLimit);

  const int textLeft = input_.hasMainIcon ? iconTextLeft : margin;
  const int textRight = textLeft + textWidth;
  const int dialogWidth = std::max(textRight + margin, rowWidth + 20);
  // Only the low 16 bits of an id reach the template and the commands; counting the elements'
  // ids on from there keeps a button id near the top of int from overflowing them.
  nextId_ = (buttons.highestId & 0xFFFF) + 1;
  ElementIds& ids = layout_.ids;
  int y = 5;

  if (input_.hasMainIcon) ids.mainIcon = AddItem(ItemKind::text, newId(), mainIconRect, u"");
  if (!texts.instruction.empty()) {
    y += 5;
    ids.instruction = AddItem(ItemKind::text, newId(), {textLeft, y, textRight, y + heights.instruction},
                              texts.instruction);
    y += heights.instruction + 5;
  }
  if (!texts.content.empty()) {
    y += 5;
    ids.content =
        AddItem(paragraphKind(), newId(), {textLeft, y, textRight, y + heights.content}, texts.content);
    y += heights.content + 5;
  }
  if (!texts.details.empty() && !detailsInFooter) {
    const int top = y + 5;
    ids.details = AddItem(paragraphKind(), newId(), {textLeft, top, textRight, top + heights.details},
                          texts.details, 0, hideWhenCollapsed);
    if (input_.expanded) y = top + heights.details + 5;
  }
  if ((flags & (TDF_SHOW_PROGRESS_BAR | TDF_SHOW_MARQUEE_PROGRESS_BAR)) != 0) {
    y += 5;
    const std::uint32_t marquee =
        (flags & TDF_SHOW_MARQUEE_PROGRESS_BAR) != 0 ? windowStyle::marquee : 0;
    ids.progressBar = AddItem(ItemKind::progressBar, newId(),
                              {textLeft, y, dialogWidth - margin, y + progressBarHeight}, u"", marquee);
    y += progressBarHeight + 5;
  }
  if (!input_.radioButtons.empty()) {
    y += 5;
    bool first = true;
    for (const ButtonText& radio : input_.radioButtons) {
      const int height = measure(input_.fonts.normal, radio.text, textLimit, radioFormat).height;
      AddItem(ItemKind::radioButton, radio.id, {textLeft + 10, y, textRight, y + height}, radio.text,
              first ? windowStyle::group : 0);
      layout_.radioButtonIds.push_back(radio.id);
      first = false;
      y += height + 5;
    }
  }
  if (commandLinks && !input_.customButtons.empty()) {
    y += 5;
    const int linkTextWidth =
        textRight - textLeft - ((flags & TDF_USE_COMMAND_LINKS_NO_ICON) != 0 ? 20 : 20 + linkGlyphWidth);
    for (const ButtonText& link : input_.customButtons) {
      const int height = MeasureCommandLink(link.text, linkTextWidth, input_.fonts, measurer_);
      AddItem(ItemKind::button, link.id, {textLeft, y, textRight, y + height}, link.text,
              windowStyle::commandLink);
      layout_.commandLinkIds.push_back(link.id);
      y += height;
    }
    y += 5;
  }
  if (input_.hasMainIcon && y <= mainIconRect.bottom) y = mainIconRect.bottom + 5;

  // The grey button area.
  layout_.sep1 = y + 5;
  y += 15;
  const int rowTop = y;
  int x = dialogWidth - margin - rowWidth;
  bool placedAny = false;
  auto placePushButton = [&](int id, std::u16string_view text, std::uint32_t style) {
    AddItem(ItemKind::button, id, {x, rowTop, x + buttons.width, rowTop + buttons.height}, text,
            style);
    x += buttons.width + buttonGap;
    placedAny = true;
  };
  if (!commandLinks) {
    for (const ButtonText& button : input_.customButtons) {
      placePushButton(button.id, button.text, 0);
      layout_.customPushButtonIds.push_back(button.id);
    }
  }
  for (std::size_t index : commonButtonsInUse(input_)) {
    placePushButton(commonButtonTable[index].id, input_.commonButtonTexts[index],
                    windowStyle::group);
    layout_.commonButtonIds.push_back(commonButtonTable[index].id);
  }
  if (needsLoneOk(input_)) {
    placePushButton(idOk, input_.commonButtonTexts[0], windowStyle::group);
    layout_.commonButtonIds.push_back(idOk);
  }
  if (placedAny) y = rowTop + buttons.height + 5;
  if (!texts.details.empty()) {
    ids.detailsButton = AddItem(ItemKind::button, newId(),
                                {margin, y, margin + buttons.detailsWidth, y + buttons.height},
                                input_.expanded ? texts.expandedControl : texts.collapsedControl);
    y += buttons.height + 5;
    placedAny = true;
  }
  if (!texts.verification.empty()) {
    ids.verification = AddItem(ItemKind::checkBox, newId(),
                               {margin, y, textRight, y + heights.verification}, texts.verification);
    y += heights.verification + 5;
    placedAny = true;
  }
  if (!placedAny) layout_.sep1 = -1;

  // The grey footer area.
  if (input_.hasFooterIcon || !texts.footer.empty()) {
    y += 5;
    (layout_.sep1 == -1 ? layout_.sep1 : layout_.sep2) = y;
    y += 10;
    int footerLeft = margin;
    int bottom = y;
    if (input_.hasFooterIcon) {
      const int offset =
          heights.footer > footerIconSize ? (heights.footer - footerIconSize) / 2 : 0;
      const Rect icon{margin, y + offset, margin + footerIconSize, y + offset + footerIconSize};
      ids.footerIcon = AddItem(ItemKind::text, newId(), icon, u"");
      footerLeft = 31;
      bottom = icon.bottom;
    }
    if (!texts.footer.empty()) {
      ids.footer = AddItem(paragraphKind(), newId(), {footerLeft, y, textRight, y + heights.footer},
                           texts.footer);
      bottom = std::max(bottom, y + heights.footer);
    }
    y = bottom + 5;
  }
  if (!texts.details.empty() && detailsInFooter) {
    const int top = y + 15;
    ids.details = AddItem(paragraphKind(), newId(), {margin, top, textRight, top + heights.details},
                          texts.details, 0, hideWhenCollapsed);
    if (input_.expanded) {
      (layout_.sep2 == -1 ? layout_.sep2 : layout_.sep3) = top - 10;
      y = top + heights.details + 5;
    }
  }
  y += 5;
  layout_.client = {dialogWidth, y};

  DialogHeader& header = layout_.header;
  header.style = windowStyle::dialogFrame;
  if ((flags & TDF_POSITION_RELATIVE_TO_WINDOW) != 0) header.style |= windowStyle::centred;
  if ((flags & TDF_CAN_BE_MINIMIZED) != 0) header.style |= windowStyle::minimiseBox;
  if ((flags & TDF_ALLOW_DIALOG_CANCELLATION) != 0 ||
      (input_.commonButtons & TDCBF_CANCEL_BUTTON) != 0) {
    header.style |= windowStyle::systemMenu;
  }
  header.extendedStyle = (flags & TDF_RTL_LAYOUT) != 0 ? windowStyle::rightToLeft : 0;
  header.units = toDialogUnits({0, 0, dialogWidth, y}, input_.units);
  header.itemCount = static_cast<std::uint16_t>(layout_.items.size());
  return std::move(layout_);
}

}  // namespace

CommonButtonTexts defaultCommonButtonTexts() {
  CommonButtonTexts texts;
  for (std::size_t i = 0; i < commonButtonTable.size(); ++i) {
    texts[i] = std::u16string(commonButtonTable[i].defaultText);
  }
  return texts;
}

ButtonMetrics MeasureButtons(const LayoutInput& input, ITextMeasurer& measurer, int widthLimit) {
  int widest = 0;
  int tallest = 0;
  int highestId = 0;
  auto measureCaption = [&](std::u16string_view text) {
    const TextSize size = measureText(measurer, input.fonts.normal, text, widthLimit, captionFormat);
    widest = std::max(widest, size.width);
    tallest = std::max(tallest, size.height);
  };
  for (std::size_t index : commonButtonsInUse(input)) {
    measureCaption(input.commonButtonTexts[index]);
    highestId = std::max(highestId, commonButtonTable[index].id);
  }
  for (const ButtonText& button : input.customButtons) {
    if (!hasCommandLinks(input)) measureCaption(button.text);
    highestId = std::max(highestId, button.id);
  }
  for (const ButtonText& radio : input.radioButtons) highestId = std::max(highestId, radio.id);
  if (needsLoneOk(input)) {
    measureCaption(input.commonButtonTexts[0]);
    highestId = std::max(highestId, idOk);
  }
  const TextSize expanded = measureText(measurer, input.fonts.normal, input.texts.expandedControl,
                                        widthLimit, captionFormat);
  const TextSize collapsed = measureText(measurer, input.fonts.normal,
                                         input.texts.collapsedControl, widthLimit, captionFormat);
  tallest = std::max({tallest, expanded.height, collapsed.height});
  return {widest + 32, tallest + 10, std::max(expanded.width, collapsed.width) + 32, highestId};
}

int MeasureCommandLink(std::u16string_view text, int textWidth, const LayoutFonts& fonts,
                       ITextMeasurer& measurer) {
  const CommandLinkText parts = splitCommandLinkText(text);
  const int mainHeight =
      measureText(measurer, fonts.large, parts.main, textWidth, captionFormat).height;
  if (!parts.note) return mainHeight + 20;
  return mainHeight + 25 +
         measureText(measurer, fonts.normal, *parts.note, textWidth, paragraphFormat).height;
}

TaskDialogLayout BuildTaskDialogLayout(const LayoutInput& input, ITextMeasurer& measurer) {
  return LayoutBuilder(input, measurer).build();
}

}  // namespace quorlex
