#include "tools/gateway/http_message.h"

#include <array>

#include "common/ascii.h"

namespace quorlex::gateway {
namespace {

// Visible ASCII and bytes of UTF-8 (obs-text); no controls, no blanks.
bool isTargetCharacter(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte > 0x20 && byte != 0x7F;
}

bool isFieldValueCharacter(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte == '\t' || (byte >= 0x20 && byte != 0x7F);
}

bool hasBareLineFeed(std::string_view text) {
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') return true;
  }
  return false;
}

bool parseRequestLine(std::string_view line, RequestHead& head) {
  std::size_t firstSpace = line.find(' ');
  if (firstSpace == std::string_view::npos) return false;
  std::size_t secondSpace = line.find(' ', firstSpace + 1);
  if (secondSpace == std::string_view::npos || line.find(' ', secondSpace + 1) != std::string_view::npos) return false;
  std::string_view method = line.substr(0, firstSpace);
  std::string_view target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
  std::string_view version = line.substr(secondSpace + 1);
  if (!isToken(method) || target.empty()) return false;
  for (char c : target) {
    if (!isTargetCharacter(c)) return false;
  }
  if (version == "HTTP/1.1") {
    head.minorVersion = 1;
  } else if (version == "HTTP/1.0") {
    head.minorVersion = 0;
  } else {
    return false;
  }
  head.method = method;
  head.target = target;
  return true;
}

bool parseHeaderLine(std::string_view line, RequestHead& head) {
  std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  // No blank before the colon and no folded continuation lines.
  std::string_view name = line.substr(0, colon);
  if (!isToken(name)) return false;
  std::string_view value = trimmedBlanks(line.substr(colon + 1));
  for (char c : value) {
    if (!isFieldValueCharacter(c)) return false;
  }
  head.headers.emplace_back(name, value);
  return true;
}

}  // namespace

std::optional<std::string_view> RequestHead::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (equalsIgnoringCase(key, name)) return std::string_view(value);
  }
  return std::nullopt;
}

std::size_t RequestHead::headerCount(std::string_view name) const {
  std::size_t count = 0;
  for (const auto& header : headers) count += equalsIgnoringCase(header.first, name) ? 1 : 0;
  return count;
}

std::string_view RequestHead::path() const {
  std::string_view path(target);
  return path.substr(0, path.find('?'));
}

bool RequestHead::keepAlive() const {
  std::optional<std::string_view> connection = header("Connection");
  if (minorVersion == 0) return connection && equalsIgnoringCase(*connection, "keep-alive");
  return !connection || !equalsIgnoringCase(*connection, "close");
}

HeadStatus parseRequestHead(std::string_view input, RequestHead& head, std::size_t& headLength) {
  head = RequestHead{};
  std::size_t start = 0;
  while (input.substr(start, 2) == "\r\n") start += 2;
  if (start > maxHeadBytes) return HeadStatus::TooLarge;
  std::size_t end = input.find("\r\n\r\n", start);
  if (end == std::string_view::npos) {
    // A head still arriving; a bare LF already tells that it will never end properly.
    if (input.size() - start > maxHeadBytes) return HeadStatus::TooLarge;
    if (hasBareLineFeed(input.substr(start))) return HeadStatus::Malformed;
    return HeadStatus::Incomplete;
  }
  if (end + 4 - start > maxHeadBytes) return HeadStatus::TooLarge;

  std::string_view block = input.substr(start, end + 2 - start);  // each line with its CR LF
  bool first = true;
  while (!block.empty()) {
    std::size_t lineEnd = block.find("\r\n");
    std::string_view line = block.substr(0, lineEnd);
    block.remove_prefix(lineEnd + 2);
    if (line.find_first_of("\r\n") != std::string_view::npos) return HeadStatus::Malformed;
    bool parsed = first ? parseRequestLine(line, head) : parseHeaderLine(line, head);
    if (!parsed) return HeadStatus::Malformed;
    first = false;
  }
  head.strayBytes = start;
  headLength = end + 4;
  return HeadStatus::Complete;
}

std::string_view reasonPhrase(int status) {
  static constexpr std::array<std::pair<int, std::string_view>, 24> phrases{{
      {100, "Continue"},
      {200, "OK"},
      {201, "Created"},
      {202, "Accepted"},
      {301, "Moved Permanently"},
      {302, "Found"},
      {303, "See Other"},
      {307, "Temporary Redirect"},
      {400, "Bad Request"},
      {401, "Unauthorized"},
      {403, "Forbidden"},
      {404, "Not Found"},
      {405, "Method Not Allowed"},
      {408, "Request Timeout"},
      {409, "Conflict"},
      {411, "Length Required"},
      {413, "Payload Too Large"},
      {415, "Unsupported Media Type"},
      {431, "Request Header Fields Too Large"},
      {500, "Internal Server Error"},
      {501, "Not Implemented"},
      {502, "Bad Gateway"},
      {503, "Service Unavailable"},
      {504, "Gateway Timeout"},
  }};
  for (const auto& [status_, phrase] : phrases) {
    if (status_ == status) return phrase;
  }
  return "Unknown";
}

std::string serializeResponse(const Response& response, bool http10KeepAlive) {
  std::string text = "HTTP/1.1 " + std::to_string(response.status) + " " + std::string(reasonPhrase(response.status)) + "\r\n";
  for (const auto& [name, value] : response.headers) text.append(name).append(": ").append(value).append("\r\n");
  text.append("Content-Type: text/xml; charset=utf-8\r\n");
  text.append("Content-Length: ").append(std::to_string(response.body.size())).append("\r\n");
  if (response.close) {
    text.append("Connection: close\r\n");
  } else if (http10KeepAlive) {
    text.append("Connection: keep-alive\r\n");
  }
  text.append("\r\n").append(response.body);
  return text;
}

}  // namespace quorlex::gateway
