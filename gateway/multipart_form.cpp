#include "gateway/multipart_form.h"

#include <algorithm>

#include "common/text.h"

namespace quorlex {

namespace {

// The part's fixed pieces around name and value, with the fixed boundary: ASCII.
constexpr std::string_view partHead = "-----------------------------tarvRel\r\nContent-Disposition: form-data; name=\"";
constexpr std::string_view partAfterName = "\"\r\n\r\n";
constexpr std::string_view partEnd = "\r\n";

constexpr bool headCarriesTheBoundary() {
  std::u16string_view boundary = MultipartForm::fixedBoundary;
  if (partHead.substr(0, 2) != "--" || partHead.size() != 2 + boundary.size() + 40) return false;
  for (std::size_t i = 0; i < boundary.size(); ++i) {
    if (partHead[2 + i] != boundary[i]) return false;
  }
  return true;
}
static_assert(headCarriesTheBoundary());

}  // namespace

bool MultipartForm::addField(std::u16string_view name, std::u16string_view value) noexcept {
  // "--%s\r\nContent-Disposition: form-data; name=\"%s\"\r\n\r\n%s\r\n", written piece by
  // piece straight into the body. Name and value meet ASCII on both sides, so no surrogate
  // pair can straddle two pieces: the bytes are those of the part converted whole. After a
  // short piece nothing more fits, so the body holds a prefix of the part, as it would then.
  return writeBytes(partHead) && writeUtf8(name) && writeBytes(partAfterName) && writeUtf8(value) &&
         writeBytes(partEnd);
}

bool MultipartForm::writeBytes(std::string_view bytes) noexcept {
  return body_.write(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) == bytes.size();
}

bool MultipartForm::writeUtf8(std::u16string_view text) noexcept {
  // Most texts are ASCII: their leading ASCII run goes into room for a byte a unit, and only
  // a rest that starts with a wider unit is measured.
  std::span<std::uint8_t> room = body_.prepare(text.size());
  std::size_t ascii = encodeAsciiPrefix(text.substr(0, room.size()), room.data());
  body_.commit(ascii);
  if (ascii == text.size()) return true;

  std::u16string_view rest = text.substr(ascii);
  std::size_t length = utf8Length(rest);
  room = body_.prepare(length);
  if (room.size() == length) {
    body_.commit(encodeUtf8(rest, room.data()));
    return true;
  }
  // The body is full: the bytes that still fit, a character at a time, with nothing to
  // allocate when memory is what ran out.
  std::size_t filled = 0;
  for (std::size_t i = 0; i < rest.size() && filled < room.size();) {
    std::size_t units = isHighSurrogate(rest[i]) && i + 1 < rest.size() && isLowSurrogate(rest[i + 1]) ? 2 : 1;
    std::uint8_t sequence[4];
    std::size_t length = encodeUtf8(rest.substr(i, units), sequence);
    std::size_t copied = std::min(length, room.size() - filled);
    std::copy_n(sequence, copied, room.data() + filled);
    filled += copied;
    i += units;
  }
  body_.commit(filled);
  return false;
}

bool MultipartForm::writeTerminator() {
  std::u16string terminator;
  terminator.append(u"--").append(boundary_).append(u"--\r\n\r\n");
  return writeUtf8(terminator);
}

std::uint32_t MultipartForm::bodyLength() {
  return static_cast<std::uint32_t>(body_.seekEnd());
}

}  // namespace quorlex
