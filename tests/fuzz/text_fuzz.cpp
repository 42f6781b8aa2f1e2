// UTF-8 and UTF-16 in both directions: any bytes read as UTF-8 and as UTF-16 units. Valid
// input makes the round trip unchanged; the encoder writes exactly the length it announces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/text.h"

namespace {

using namespace quorlex;

void check(bool condition) {
  if (!condition) std::abort();
}

// An independent reading of well-formed UTF-8 (Unicode's table 3-7).
bool wellFormedUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      unsigned char next = byte(i + k);
      unsigned char min = k == 1 ? low : 0x80;
      unsigned char max = k == 1 ? high : 0xBF;
      if (next < min || next > max) return false;
    }
    i += length;
  }
  return true;
}

bool wellFormedUtf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isHighSurrogate(text[i])) {
      if (i + 1 == text.size() || !isLowSurrogate(text[i + 1])) return false;
      ++i;
    } else if (isLowSurrogate(text[i])) {
      return false;
    }
  }
  return true;
}

void checkUtf8Input(std::string_view bytes) {
  std::u16string wide = fromUtf8(bytes);
  check(wellFormedUtf16(wide));
  check(wide.size() <= bytes.size());
  std::string back = toUtf8(wide);
  check(wellFormedUtf8(back));
  if (wellFormedUtf8(bytes)) check(back == bytes);
}

void checkUtf16Input(std::u16string_view units) {
  std::size_t length = utf8Length(units);
  // Exactly the announced room, on the heap, so that one byte too many is an overflow.
  auto out = std::make_unique<std::uint8_t[]>(length + 1);
  check(encodeUtf8(units, out.get()) == length);
  std::string narrow = toUtf8(units);
  check(narrow.size() == length);
  check(std::memcmp(narrow.data(), out.get(), length) == 0);
  check(wellFormedUtf8(narrow));
  if (wellFormedUtf16(units)) check(fromUtf8(narrow) == units);

  auto ascii = std::make_unique<std::uint8_t[]>(units.size() + 1);
  std::size_t prefix = encodeAsciiPrefix(units, ascii.get());
  check(prefix <= units.size() && std::memcmp(ascii.get(), narrow.data(), prefix) == 0);
  check(prefix == units.size() || units[prefix] >= 0x80);

  for (std::size_t limit : {std::size_t{0}, std::size_t{1}, units.size() / 2, units.size()}) {
    std::u16string_view cut = truncateUtf16(units, limit);
    check(cut.size() <= limit && cut.size() + 1 >= std::min(limit, units.size()));
    check(units.substr(0, cut.size()) == cut);
    if (wellFormedUtf16(units)) check(wellFormedUtf16(cut));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkUtf8Input(std::string_view(reinterpret_cast<const char*>(data), size));
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  checkUtf16Input(units);
  return 0;
}
