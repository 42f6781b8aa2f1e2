// The own task dialog's layout and template on random requests, measured by the tests'
// deterministic measurer: the template must read back to exactly the header, title and items
// the layout made, each item where its pixels say in dialog units.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "taskdialog/task_dialog_layout.h"
#include "taskdialog/task_dialog_texts.h"
#include "tests/taskdialog/dialog_template_reader.h"
#include "tests/taskdialog/fake_measurer.h"

namespace {

using namespace quorlex;
using test_support::FakeMeasurer;
using test_support::fakeFont;

void check(bool condition) {
  if (!condition) std::abort();
}

// A pixel count as the template holds it: exact where it fits in 16 bits, the nearest limit
// where it does not, never wrapped.
std::int16_t heldUnits(int pixels, int unitsPerBase, int baseUnit) {
  const std::int64_t units = std::int64_t{pixels} * unitsPerBase / baseUnit;
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(units, INT16_MIN, INT16_MAX));
}

bool fits(const DialogUnitRect& held, const Rect& pixels, const DialogBaseUnits& units) {
  return held.x == heldUnits(pixels.left, 4, units.horizontal) && held.width == heldUnits(pixels.width(), 4, units.horizontal) &&
         held.y == heldUnits(pixels.top, 8, units.vertical) && held.height == heldUnits(pixels.height(), 8, units.vertical);
}

// Texts from pieces the layout treats specially, and any unit but zero (record texts end there).
std::u16string text(FuzzedDataProvider& input) {
  static constexpr std::array<std::u16string_view, 9> pieces{
      u" ", u"\n", u"\t", u"&", u"Word", u"<A HREF=\"x\">", u"</A>", u"&&", u"\u00e9\U0001F600"};
  std::u16string out;
  const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, 12);
  for (std::size_t i = 0; i < count; ++i) {
    if (input.ConsumeBool()) {
      out += pieces[input.ConsumeIntegralInRange<std::size_t>(0, pieces.size() - 1)];
    } else {
      out += input.ConsumeIntegralInRange<char16_t>(1, 0xFFFF);
    }
  }
  return out;
}

int buttonId(FuzzedDataProvider& input) {
  return input.ConsumeBool() ? input.ConsumeIntegralInRange(100, 110) : input.ConsumeIntegral<int>();
}

std::vector<ButtonText> buttons(FuzzedDataProvider& input) {
  std::vector<ButtonText> out(input.ConsumeIntegralInRange<std::size_t>(0, 8));
  for (ButtonText& button : out) {
    button.id = buttonId(input);
    button.text = text(input);
  }
  return out;
}

LayoutInput request(FuzzedDataProvider& input) {
  LayoutInput in;
  in.flags = input.ConsumeIntegral<std::uint32_t>();
  in.commonButtons = input.ConsumeIntegral<std::uint32_t>() & 0x3F;
  in.defaultButton = input.ConsumeBool() ? 0 : buttonId(input);
  in.widthInDialogUnits = input.ConsumeBool() ? 0 : input.ConsumeIntegral<std::uint32_t>();
  const bool links = (in.flags & TDF_ENABLE_HYPERLINKS) != 0;
  TaskDialogTexts& t = in.texts;
  t.title = text(input);
  t.instruction = text(input);
  t.content = text(input);
  t.contentMeasured = links ? StripLinks(t.content) : t.content;
  t.details = text(input);
  t.detailsMeasured = links ? StripLinks(t.details) : t.details;
  t.expandedControl = text(input);
  if (t.expandedControl.empty()) t.expandedControl = defaultExpandedControlText;
  t.collapsedControl = text(input);
  if (t.collapsedControl.empty()) t.collapsedControl = defaultCollapsedControlText;
  t.verification = text(input);
  t.footer = text(input);
  t.footerMeasured = links ? StripLinks(t.footer) : t.footer;
  in.customButtons = buttons(input);
  in.radioButtons = buttons(input);
  in.hasMainIcon = input.ConsumeBool();
  in.hasFooterIcon = input.ConsumeBool();
  in.expanded = input.ConsumeBool();
  in.displayWidth = input.ConsumeIntegralInRange(320, 16384);
  in.units = {input.ConsumeIntegralInRange(4, 24), input.ConsumeIntegralInRange(8, 48)};
  const int height = input.ConsumeIntegralInRange(8, 72);
  in.fonts = {fakeFont(-height), fakeFont(-(height * 3 / 2))};
  return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const LayoutInput in = request(input);
  FakeMeasurer measurer;
  const TaskDialogLayout layout = BuildTaskDialogLayout(in, measurer);
  const std::vector<std::uint8_t> bytes = encodeDialogTemplate(layout.header, in.texts.title, layout.items);

  const std::optional<test_support::ReadTemplate> read = test_support::readDialogTemplate(bytes);
  check(read.has_value());
  check(read->size == bytes.size());
  check(read->style == layout.header.style && read->extendedStyle == layout.header.extendedStyle);
  check(read->units == layout.header.units && read->title == in.texts.title);
  check(fits(read->units, Rect{0, 0, layout.client.width, layout.client.height}, in.units));
  check(read->itemCount == layout.items.size() && read->items.size() == layout.items.size());
  for (std::size_t i = 0; i < layout.items.size(); ++i) {
    const DialogItem& made = layout.items[i];
    const test_support::ReadItem& back = read->items[i];
    check(back.style == made.style && back.extendedStyle == made.extendedStyle);
    check(back.units == made.units && made.units == toDialogUnits(made.pixels, in.units));
    check(back.id == made.id && back.className == made.className && back.text == made.text);
    check(back.creationDataSize == 0);
    check(fits(back.units, made.pixels, in.units));
  }
  return 0;
}
