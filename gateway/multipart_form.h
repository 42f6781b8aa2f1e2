#pragma once
// The multipart/form-data body of one gateway request, built field by field.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gateway/byte_stream.h"
#include "gateway/http_request.h"

namespace quorlex {

class MultipartForm {
 public:
  // 27 hyphens and tarvRel: fixed, never generated, never compared with field contents.
  static constexpr std::u16string_view fixedBoundary = u"---------------------------tarvRel";

  MultipartForm() = default;
  // A form whose body holds at most bodyLimit bytes, so that short appends can be shown.
  explicit MultipartForm(std::size_t bodyLimit) : body_(bodyLimit) {}

  MultipartForm(const MultipartForm&) = delete;
  MultipartForm& operator=(const MultipartForm&) = delete;

  // Appends one part; true when every byte of it was appended. Allocates nothing but the
  // body's own growth.
  bool addField(std::u16string_view name, std::u16string_view value) noexcept;
  // Appends the text as UTF-8 at the body's position; true when every converted byte went in.
  bool writeUtf8(std::u16string_view text) noexcept;
  // Appends "--boundary--" CR LF CR LF, once, after the last part.
  bool writeTerminator();

  // The body's length (low 32 bits); moves the position to the end.
  std::uint32_t bodyLength();
  void rewind() { body_.seekStart(); }

  // Closes the body and posts it synchronously to url. True only for status 200 with the reply
  // document in replyDocument; otherwise one line in errorText. Never throws.
  bool post(std::u16string_view url, std::u16string_view user, std::u16string_view password,
            std::unique_ptr<ReplyDocument>& replyDocument, std::u16string& errorText,
            const HttpRequestFactory& newRequest = createHttpRequest) noexcept;

  std::u16string_view boundary() const { return boundary_; }
  std::span<const std::uint8_t> bodyBytes() const { return body_.bytes(); }

 private:
  bool writeBytes(std::string_view bytes) noexcept;

  ByteStream body_;
  std::u16string boundary_{fixedBoundary};
};

}  // namespace quorlex
