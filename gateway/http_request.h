#pragma once
// The platform's HTTP request object, reduced to the operations that post uses. One object
// carries one synchronous request; createHttpRequest is defined once per platform.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/result_code.h"

namespace quorlex {

// What the request object reports when the server cannot be reached: refused, unresolvable,
// no route (INET_E_RESOURCE_NOT_FOUND).
constexpr ResultCode resultServerUnreachable = static_cast<ResultCode>(0x800C0005);

// What a request keeps of a reply body: far more than any gateway's description needs. The
// rest of a longer body is read to its end and dropped, so that a runaway reply cannot take
// the host's memory (a 32-bit process has 2 GB in all).
constexpr std::size_t replyBytesKept = std::size_t{1} << 20;

// The reply body as the request object parsed it. post hands it over; nobody reads it.
class ReplyDocument {
 public:
  virtual ~ReplyDocument() = default;
};

class HttpRequest {
 public:
  virtual ~HttpRequest() = default;

  // Prepares one request; user and password are offered when the server asks for them.
  virtual ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous,
                          std::u16string_view user, std::u16string_view password) = 0;
  virtual ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) = 0;
  // Puts exactly these bytes on the wire as the body; returns when the whole reply is in.
  virtual ResultCode send(std::span<const std::uint8_t> body) = 0;

  virtual ResultCode status(std::int32_t& out) = 0;
  virtual ResultCode statusText(std::u16string& out) = 0;
  virtual ResultCode responseText(std::u16string& out) = 0;
  virtual ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) = 0;
};

// The platform's request object, or none when it cannot be created.
std::unique_ptr<HttpRequest> createHttpRequest();

// Where post gets its request object from; createHttpRequest unless a caller says otherwise.
using HttpRequestFactory = std::function<std::unique_ptr<HttpRequest>()>;

}  // namespace quorlex
