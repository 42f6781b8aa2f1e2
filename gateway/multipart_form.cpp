#include "gateway/multipart_form.h"

#include "common/text.h"

namespace quorlex {

bool MultipartForm::addField(std::u16string_view name, std::u16string_view value) {
  // "--%s\r\nContent-Disposition: form-data; name=\"%s\"\r\n\r\n%s\r\n", converted as one
  // text so that a surrogate pair is never split between writes.
  std::u16string part;
  part.reserve(83 + name.size() + value.size());
  part.append(u"--").append(boundary_).append(u"\r\nContent-Disposition: form-data; name=\"");
  part.append(name).append(u"\"\r\n\r\n").append(value).append(u"\r\n");
  return writeUtf8(part);
}

bool MultipartForm::writeUtf8(std::u16string_view text) {
  std::string bytes = toUtf8(text);
  auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return body_.write(data) == bytes.size();
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
