#include "taskdialog/dialog_template.h"

#include <gtest/gtest.h>

#include "tests/taskdialog/dialog_template_reader.h"

namespace quorlex {
namespace {

TEST(DialogTemplate, PixelsBecomeDialogUnitsTruncated) {
  const DialogBaseUnits units{8, 16};
  EXPECT_EQ(toDialogUnits({13, 23, 57, 46}, units), (DialogUnitRect{6, 11, 22, 11}));
  EXPECT_EQ(toDialogUnits({0, 0, 7, 15}, units), (DialogUnitRect{0, 0, 3, 7}));
  // With base units 4 and 8 a dialog unit is a pixel.
  EXPECT_EQ(toDialogUnits({10, 14, 42, 46}, {4, 8}), (DialogUnitRect{10, 14, 32, 32}));
}

TEST(DialogTemplate, KindsHaveTheirClassesAndBaseStyles) {
  const struct {
    ItemKind kind;
    std::u16string_view className;
    std::uint32_t style;
  } kinds[] = {
      {ItemKind::frameStatic, u"Static", 0x50000003}, {ItemKind::button, u"Button", 0x50010000},
      {ItemKind::edit, u"Edit", 0x50000000},          {ItemKind::text, u"Static", 0x50000000},
      {ItemKind::checkBox, u"Button", 0x50010003},
      {ItemKind::progressBar, u"msctls_progress32", 0x50000001},
      {ItemKind::link, u"SysLink", 0x50000000},       {ItemKind::radioButton, u"Button", 0x50000009},
  };
  for (const auto& k : kinds) {
    EXPECT_EQ(itemClassName(k.kind), k.className);
    EXPECT_EQ(itemBaseStyle(k.kind), k.style);
  }
}

TEST(DialogTemplate, BytesOfAOneButtonDialog) {
  DialogHeader header;
  header.style = 0x90C00080;
  header.extendedStyle = 0x3000;
  header.itemCount = 1;
  header.units = {0, 0, 100, 50};
  DialogItem ok;
  ok.style = 0x50030001;
  ok.units = {60, 30, 30, 12};
  ok.id = 1;
  ok.className = u"Button";
  ok.text = u"OK";
  const std::vector<std::uint8_t> expected = {
      0x80, 0x00, 0xC0, 0x90,  // style
      0x00, 0x30, 0x00, 0x00,  // extended style
      0x01, 0x00,              // one item
      0x00, 0x00, 0x00, 0x00, 0x64, 0x00, 0x32, 0x00,  // x, y, 100 wide, 50 high
      0x00, 0x00,              // no menu
      0x00, 0x00,              // default class
      'Q', 0, 0, 0,            // title "Q"
      0x00, 0x00,              // padding
      // The item starts on the 4-byte boundary at 28.
      0x01, 0x00, 0x03, 0x50,  // style
      0x00, 0x00, 0x00, 0x00,  // extended style
      0x3C, 0x00, 0x1E, 0x00, 0x1E, 0x00, 0x0C, 0x00,  // 60, 30, 30 x 12
      0x01, 0x00,              // id 1
      'B', 0, 'u', 0, 't', 0, 't', 0, 'o', 0, 'n', 0, 0, 0,
      'O', 0, 'K', 0, 0, 0,
      0x00, 0x00,  // no creation data
  };
  EXPECT_EQ(encodeDialogTemplate(header, u"Q", {ok}), expected);
}

TEST(DialogTemplate, EveryItemStartsOnAFourByteBoundaryAndReadsBack) {
  DialogHeader header;
  header.style = 0x90C00080;
  header.itemCount = 3;
  header.units = {0, 0, 120, 80};
  std::vector<DialogItem> items(3);
  const char16_t* texts[] = {u"", u"odd", u"even"};
  for (std::size_t i = 0; i < items.size(); ++i) {
    items[i].style = 0x50000000 + static_cast<std::uint32_t>(i);
    items[i].units = {static_cast<std::int16_t>(i), 2, 3, 4};
    items[i].id = static_cast<std::uint16_t>(100 + i);
    items[i].className = i == 1 ? u"SysLink" : u"Static";
    items[i].text = texts[i];
  }
  const std::vector<std::uint8_t> bytes = encodeDialogTemplate(header, u"Title", items);
  const std::optional<test_support::ReadTemplate> read = test_support::readDialogTemplate(bytes);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size, bytes.size());
  EXPECT_EQ(read->title, u"Title");
  ASSERT_EQ(read->items.size(), 3u);
  for (std::size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(read->items[i].offset % 4, 0u);
    EXPECT_EQ(read->items[i].style, items[i].style);
    EXPECT_EQ(read->items[i].units, items[i].units);
    EXPECT_EQ(read->items[i].id, items[i].id);
    EXPECT_EQ(read->items[i].className, items[i].className);
    EXPECT_EQ(read->items[i].text, items[i].text);
    EXPECT_EQ(read->items[i].creationDataSize, 0);
  }
}

}  // namespace
}  // namespace quorlex
