#include "tests/taskdialog/dialog_template_reader.h"

namespace quorlex::test_support {
namespace {

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool ok() const { return ok_; }
  std::size_t offset() const { return at_; }
  std::uint16_t word() {
    if (at_ + 2 > bytes_.size()) {
      ok_ = false;
      return 0;
    }
    const auto value = static_cast<std::uint16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    at_ += 2;
    return value;
  }
  std::uint32_t doubleWord() {
    const std::uint32_t low = word();
    return low | (static_cast<std::uint32_t>(word()) << 16);
  }
  DialogUnitRect rect() {
    DialogUnitRect r;
    r.x = static_cast<std::int16_t>(word());
    r.y = static_cast<std::int16_t>(word());
    r.width = static_cast<std::int16_t>(word());
    r.height = static_cast<std::int16_t>(word());
    return r;
  }
  std::u16string text() {
    std::u16string value;
    while (ok_) {
      const std::uint16_t unit = word();
      if (unit == 0) break;
      value.push_back(static_cast<char16_t>(unit));
    }
    return value;
  }
  void skipToDoubleWord() {
    if (at_ % 4 != 0) at_ += 4 - at_ % 4;
    if (at_ > bytes_.size()) ok_ = false;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

std::optional<ReadTemplate> readDialogTemplate(std::span<const std::uint8_t> bytes) {
  Reader in(bytes);
  ReadTemplate result;
  result.style = in.doubleWord();
  result.extendedStyle = in.doubleWord();
  result.itemCount = in.word();
  result.units = in.rect();
  result.menu = in.word();
  result.windowClass = in.word();
  if (result.menu != 0 || result.windowClass != 0) return std::nullopt;
  result.title = in.text();
  for (std::uint16_t i = 0; i < result.itemCount && in.ok(); ++i) {
    in.skipToDoubleWord();
    ReadItem item;
    item.offset = in.offset();
    item.style = in.doubleWord();
    item.extendedStyle = in.doubleWord();
    item.units = in.rect();
    item.id = in.word();
    item.className = in.text();
    if (item.className.empty()) return std::nullopt;
    item.text = in.text();
    item.creationDataSize = in.word();
    result.items.push_back(std::move(item));
  }
  if (!in.ok()) return std::nullopt;
  result.size = in.offset();
  return result;
}

}  // namespace quorlex::test_support
