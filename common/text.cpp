#include "common/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorlex {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

std::uint8_t* encodeCodePoint(char32_t cp, std::uint8_t* out) {
  if (cp < 0x80) {
    *out++ = static_cast<std::uint8_t>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<std::uint8_t>(0xC0 | (cp >> 6));
    *out++ = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<std::uint8_t>(0xE0 | (cp >> 12));
    *out++ = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<std::uint8_t>(0xF0 | (cp >> 18));
    *out++ = static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<std::uint8_t>(0x80 | (cp & 0x3F));
  }
  return out;
}

#if defined(__SSE2__)
// True when all sixteen units from in are below 0x80.
bool sixteenAscii(const char16_t* in, __m128i& low, __m128i& high) {
  low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 8));
  __m128i beyondAscii = _mm_and_si128(_mm_or_si128(low, high), _mm_set1_epi16(static_cast<short>(0xFF80)));
  return _mm_movemask_epi8(_mm_cmpeq_epi16(beyondAscii, _mm_setzero_si128())) == 0xFFFF;
}
#endif

// How many units from in, up to count, are ASCII before the first that is not.
std::size_t asciiRun(const char16_t* in, std::size_t count) {
  std::size_t i = 0;
#if defined(__SSE2__)
  __m128i low;
  __m128i high;
  while (i + 16 <= count && sixteenAscii(in + i, low, high)) i += 16;
#endif
  while (i < count && in[i] < 0x80) ++i;
  return i;
}

// The same run, copied to out as bytes; 32 units a step while they last, as loads are what
// it waits for.
std::size_t copyAsciiRun(const char16_t* in, std::size_t count, std::uint8_t* out) {
  std::size_t i = 0;
#if defined(__SSE2__)
  __m128i low;
  __m128i high;
  __m128i nextLow;
  __m128i nextHigh;
  for (; i + 32 <= count && sixteenAscii(in + i, low, high) && sixteenAscii(in + i + 16, nextLow, nextHigh); i += 32) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 16), _mm_packus_epi16(nextLow, nextHigh));
  }
  for (; i + 16 <= count && sixteenAscii(in + i, low, high); i += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count && in[i] < 0x80; ++i) out[i] = static_cast<std::uint8_t>(in[i]);
  return i;
}

void appendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// Length of the UTF-8 sequence that starts with this byte, 0 for a byte that starts none.
std::size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::size_t utf8Length(std::u16string_view text) {
  std::size_t length = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t run = asciiRun(text.data() + i, text.size() - i);
    length += run;
    i += run;
    if (i == text.size()) break;
    char16_t unit = text[i];
    if (unit < 0x800) {
      length += 2;
    } else if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      length += 4;
      ++i;
    } else {
      length += 3;  // unpaired surrogates become U+FFFD, three bytes too
    }
    ++i;
  }
  return length;
}

std::size_t encodeUtf8(std::u16string_view text, std::uint8_t* out) {
  std::uint8_t* start = out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t run = copyAsciiRun(text.data() + i, text.size() - i, out);
    out += run;
    i += run;
    if (i == text.size()) break;
    char16_t unit = text[i];
    char32_t cp = unit;
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      cp = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      cp = replacementCharacter;
    }
    out = encodeCodePoint(cp, out);
    ++i;
  }
  return static_cast<std::size_t>(out - start);
}

std::size_t encodeAsciiPrefix(std::u16string_view text, std::uint8_t* out) {
  return copyAsciiRun(text.data(), text.size(), out);
}

std::string toUtf8(std::u16string_view text) {
  std::string out(utf8Length(text), '\0');
  (void)encodeUtf8(text, reinterpret_cast<std::uint8_t*>(out.data()));
  return out;
}

std::u16string fromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = sequenceLength(lead);
    if (length == 1) {
      std::size_t end = i + 1;
      while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80) ++end;
      out.append(text.begin() + static_cast<std::ptrdiff_t>(i), text.begin() + static_cast<std::ptrdiff_t>(end));
      i = end;
      continue;
    }
    char32_t cp = 0;
    bool valid = length != 0 && i + length <= text.size();
    if (valid) {
      cp = lead & (0xFF >> (length + 1));
      for (std::size_t k = 1; k < length; ++k) {
        auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
          valid = false;
          break;
        }
        cp = (cp << 6) | (next & 0x3F);
      }
    }
    // Reject overlong forms, surrogates and values past U+10FFFF.
    if (valid && ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                  (cp >= 0xD800 && cp <= 0xDFFF))) {
      valid = false;
    }
    if (valid) {
      appendUtf16(out, cp);
      i += length;
    } else {
      out.push_back(static_cast<char16_t>(replacementCharacter));
      ++i;
      // Skip the continuation bytes of the broken sequence, so one fault gives one U+FFFD.
      while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
  }
  return out;
}

std::u16string fromAscii(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string decimalText(std::int64_t number) {
  return fromAscii(std::to_string(number));
}

std::u16string_view truncateUtf16(std::u16string_view text, std::size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  std::size_t cut = maxUnits;
  if (cut > 0 && isHighSurrogate(text[cut - 1]) && isLowSurrogate(text[cut])) --cut;
  return text.substr(0, cut);
}

}  // namespace quorlex
