#pragma once
// HTTP/1.x requests as the gateway emulator reads them, and its replies: a strict reader of
// request heads and the writer of responses. No sockets here.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorlex::gateway {

struct RequestHead {
  std::string method;
  std::string target;
  int minorVersion = 1;  // HTTP/1.0 or HTTP/1.1
  std::vector<std::pair<std::string, std::string>> headers;
  // Empty lines (CR LF) that came before the request line: a server skips them, but on a
  // kept-alive connection they are bytes that the previous request's client sent too many.
  std::size_t strayBytes = 0;

  // The first header of that name, compared without regard to case.
  std::optional<std::string_view> header(std::string_view name) const;
  // How many headers of that name there are.
  std::size_t headerCount(std::string_view name) const;
  // The path of the target, without its query.
  std::string_view path() const;
  bool keepAlive() const;
};

enum class HeadStatus { Incomplete, Complete, Malformed, TooLarge };

inline constexpr std::size_t maxHeadBytes = 16 * 1024;

// Reads one request head from the start of input; on Complete, headLength is the number of
// bytes it took, stray empty lines before it included.
HeadStatus parseRequestHead(std::string_view input, RequestHead& head, std::size_t& headLength);

struct Response {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  bool close = false;
};

// The standard reason phrase of a status, "Unknown" for one without.
std::string_view reasonPhrase(int status);

// Status line, the headers, Content-Type, Content-Length, Connection, then the body.
std::string serializeResponse(const Response& response, bool http10KeepAlive = false);

}  // namespace quorlex::gateway
