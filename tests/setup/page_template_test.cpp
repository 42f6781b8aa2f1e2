#include "setup/page_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorlex {
namespace {

void putWord(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}
void putDword(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  putWord(bytes, static_cast<std::uint16_t>(value));
  putWord(bytes, static_cast<std::uint16_t>(value >> 16));
}
void putText(std::vector<std::uint8_t>& bytes, std::u16string_view text) {
  for (char16_t unit : text) putWord(bytes, unit);
  putWord(bytes, 0);
}
std::uint32_t dwordAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[offset + i];
  return value;
}

// A property page as stored: DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION, 350 x 242.
constexpr std::uint32_t storedStyle = 0x40 | 0x40000000 | 0x08000000 | 0x00C00000;

std::vector<std::uint8_t> extendedTemplate(std::uint16_t menuField, std::u16string_view title) {
  std::vector<std::uint8_t> bytes;
  putWord(bytes, 1);
  putWord(bytes, 0xFFFF);
  putDword(bytes, 0);  // help id
  putDword(bytes, 0);  // extended style
  putDword(bytes, storedStyle);
  putWord(bytes, 0);  // no items
  for (std::uint16_t v : {0, 0, 350, 242}) putWord(bytes, v);
  if (menuField == 0xFFFF) {
    putWord(bytes, 0xFFFF);
    putWord(bytes, 11012);
  } else {
    putWord(bytes, 0);
  }
  putText(bytes, u"");  // window class: the dialog's own
  putText(bytes, title);
  return bytes;
}

std::vector<std::uint8_t> plainTemplate(std::u16string_view title) {
  std::vector<std::uint8_t> bytes;
  putDword(bytes, storedStyle);
  putDword(bytes, 0);
  putWord(bytes, 0);
  for (std::uint16_t v : {0, 0, 350, 242}) putWord(bytes, v);
  putWord(bytes, 0);
  putWord(bytes, 0);
  putText(bytes, title);
  return bytes;
}

constexpr std::uint32_t childStyle = 0x40 | 0x40000000 | 0x400;  // DS_SETFONT | WS_CHILD | DS_CONTROL

TEST(PageTemplate, BothStoredFormsBecomeHiddenControlParentChildrenWithoutCaption) {
  struct Case {
    std::vector<std::uint8_t> bytes;
    std::size_t styleAt, extendedStyleAt;
  };
  for (const Case& c : {Case{extendedTemplate(0, u"General"), 12, 8}, Case{plainTemplate(u"General"), 0, 4}}) {
    std::optional<std::vector<std::uint8_t>> page = childPageTemplate(c.bytes);
    ASSERT_TRUE(page);
    EXPECT_EQ(dwordAt(*page, c.styleAt), childStyle);
    EXPECT_EQ(dwordAt(*page, c.extendedStyleAt), windowStyle::controlParent);
    EXPECT_EQ(page->size(), c.bytes.size());
    EXPECT_EQ(dialogTemplateTitle(c.bytes), u"General");
  }
}

TEST(PageTemplate, TheTitleFollowsAMenuGivenByOrdinal) {
  EXPECT_EQ(dialogTemplateTitle(extendedTemplate(0xFFFF, u"Data Mapping")), u"Data Mapping");
}

TEST(PageTemplate, CutBytesAreNoTemplate) {
  std::vector<std::uint8_t> bytes = extendedTemplate(0, u"General");
  EXPECT_FALSE(childPageTemplate(std::span(bytes).first(20)));
  EXPECT_FALSE(dialogTemplateTitle(std::span(bytes).first(bytes.size() - 2)));
  EXPECT_FALSE(childPageTemplate(std::span<const std::uint8_t>()));
}

}  // namespace
}  // namespace quorlex
