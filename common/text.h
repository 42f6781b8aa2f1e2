#pragma once
// Texts are UTF-16 inside the system; this is the one crossing to and from UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorlex {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// The number of bytes toUtf8 gives for the text.
std::size_t utf8Length(std::u16string_view text);
// Copies the leading run of ASCII units of the text to out as bytes; returns how many.
std::size_t encodeAsciiPrefix(std::u16string_view text, std::uint8_t* out);
// Writes the UTF-8 of the text to out, which has room for utf8Length(text) bytes; returns
// that count. Runs of ASCII go through 16 units at a time where the processor allows.
std::size_t encodeUtf8(std::u16string_view text, std::uint8_t* out);

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string fromUtf8(std::string_view text);

// Plain ASCII (format strings, numbers) widened unit by unit.
std::u16string fromAscii(std::string_view ascii);

// Decimal text of a number, as printf's "%d" or "%i" writes it.
std::u16string decimalText(std::int64_t number);

inline bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// At most maxUnits units of text, one fewer where the cut would split a surrogate pair.
std::u16string_view truncateUtf16(std::u16string_view text, std::size_t maxUnits);

}  // namespace quorlex
