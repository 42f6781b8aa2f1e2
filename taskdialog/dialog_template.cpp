#include "taskdialog/dialog_template.h"

#include <algorithm>
#include <cstdint>

namespace quorlex {
namespace {

struct KindTraits {
  std::u16string_view className;
  std::uint32_t baseStyle;
};

// Indexed by ItemKind. 0x50000000 is child + visible, 0x00010000 tab stop.
constexpr KindTraits kindTraits[] = {
    {u"Static", 0x50000003},             // frame static
    {u"Button", 0x50010000},             // push button, command link, details button
    {u"Edit", 0x50000000},               // edit
    {u"Static", 0x50000000},             // text and icons
    {u"Button", 0x50010003},             // automatic check box
    {u"msctls_progress32", 0x50000001},  // smooth progress bar
    {u"SysLink", 0x50000000},            // hyperlink control
    {u"Button", 0x50000009},             // automatic radio button
};

class TemplateWriter {
 public:
  void word(std::uint16_t value) {
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
  }
  void doubleWord(std::uint32_t value) {
    word(static_cast<std::uint16_t>(value & 0xFFFF));
    word(static_cast<std::uint16_t>(value >> 16));
  }
  void coordinate(std::int16_t value) { word(static_cast<std::uint16_t>(value)); }
  void text(std::u16string_view value) {
    for (char16_t unit : value) word(static_cast<std::uint16_t>(unit));
    word(0);
  }
  void alignToDoubleWord() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  void rect(const DialogUnitRect& units) {
    coordinate(units.x);
    coordinate(units.y);
    coordinate(units.width);
    coordinate(units.height);
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// The template's coordinates are 16 bits: a size past them is held at the limit rather than
// wrapped into a negative one (the window is placed in pixels afterwards anyway).
std::int16_t toUnits(int pixels, int unitsPerBase, int baseUnit) {
  const std::int64_t units = std::int64_t{pixels} * unitsPerBase / baseUnit;
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(units, INT16_MIN, INT16_MAX));
}

}  // namespace

DialogUnitRect toDialogUnits(const Rect& pixels, const DialogBaseUnits& units) {
  return {toUnits(pixels.left, 4, units.horizontal), toUnits(pixels.top, 8, units.vertical),
          toUnits(pixels.width(), 4, units.horizontal), toUnits(pixels.height(), 8, units.vertical)};
}

std::u16string_view itemClassName(ItemKind kind) {
  return kindTraits[static_cast<std::size_t>(kind)].className;
}

std::uint32_t itemBaseStyle(ItemKind kind) {
  return kindTraits[static_cast<std::size_t>(kind)].baseStyle;
}

std::vector<std::uint8_t> encodeDialogTemplate(const DialogHeader& header,
                                               std::u16string_view title,
                                               const std::vector<DialogItem>& items) {
  TemplateWriter out;
  out.doubleWord(header.style);
  out.doubleWord(header.extendedStyle);
  out.word(header.itemCount);
  out.rect(header.units);
  out.word(0);  // no menu
  out.word(0);  // the default dialog class
  out.text(title);
  for (const DialogItem& item : items) {
    out.alignToDoubleWord();
    out.doubleWord(item.style);
    out.doubleWord(item.extendedStyle);
    out.rect(item.units);
    out.word(item.id);
    out.text(item.className);
    out.text(item.text);
    out.word(0);  // no creation data
  }
  return out.take();
}

}  // namespace quorlex
