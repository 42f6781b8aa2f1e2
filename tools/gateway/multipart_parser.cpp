#include "tools/gateway/multipart_parser.h"

#include "common/ascii.h"

namespace quorlex::gateway {
namespace {

// bchars of the multipart grammar; a space may not end the boundary.
bool isBoundaryCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("'()+_,-./:=? ").find(c) != std::string_view::npos;
}

// Parameters after the first ";" of a header value: name=token or name="quoted string".
// Names come back lower case.
std::optional<std::vector<std::pair<std::string, std::string>>> parameters(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> found;
  while (!text.empty()) {
    text = trimmedBlanks(text);
    if (text.empty() || text.front() != ';') return std::nullopt;
    text = trimmedBlanks(text.substr(1));
    std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    std::string name;
    for (char c : text.substr(0, equals)) {
      if (!isTokenCharacter(c)) return std::nullopt;
      name.push_back(lowerAscii(c));
    }
    text.remove_prefix(equals + 1);
    std::string value;
    if (!text.empty() && text.front() == '"') {
      std::size_t i = 1;
      for (; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\') {
          if (++i == text.size()) return std::nullopt;
        }
        value.push_back(text[i]);
      }
      if (i == text.size()) return std::nullopt;  // unterminated
      text.remove_prefix(i + 1);
    } else {
      std::size_t i = 0;
      while (i < text.size() && isTokenCharacter(text[i])) value.push_back(text[i++]);
      if (value.empty()) return std::nullopt;
      text.remove_prefix(i);
    }
    found.emplace_back(std::move(name), std::move(value));
  }
  return found;
}

// The field name of a part's Content-Disposition: form-data; name="...".
std::optional<std::string> fieldName(std::string_view disposition, std::string& error) {
  std::size_t semicolon = disposition.find(';');
  std::string_view type = trimmedBlanks(disposition.substr(0, semicolon));
  if (!equalsIgnoringCase(type, "form-data")) {
    error = "a part's Content-Disposition is not form-data";
    return std::nullopt;
  }
  auto found = parameters(semicolon == std::string_view::npos ? std::string_view() : disposition.substr(semicolon));
  if (!found) {
    error = "a part's Content-Disposition has malformed parameters";
    return std::nullopt;
  }
  std::optional<std::string> name;
  for (auto& [key, value] : *found) {
    if (key != "name") continue;
    if (name) {
      error = "a part names its field twice";
      return std::nullopt;
    }
    name = std::move(value);
  }
  if (!name) error = "a part has no field name";
  return name;
}

// The headers of one part, up to and with the empty line; gives the field name.
std::optional<std::string> partHeaders(std::string_view& rest, std::string& error) {
  std::optional<std::string> name;
  for (;;) {
    std::size_t lineEnd = rest.find("\r\n");
    if (lineEnd == std::string_view::npos) {
      error = "the body ends inside a part's headers";
      return std::nullopt;
    }
    std::string_view line = rest.substr(0, lineEnd);
    rest.remove_prefix(lineEnd + 2);
    if (line.empty()) break;
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || line.find_first_of("\r\n") != std::string_view::npos) {
      error = "a part has a malformed header line";
      return std::nullopt;
    }
    if (!isToken(line.substr(0, colon))) {
      error = "a part has a malformed header line";
      return std::nullopt;
    }
    if (!equalsIgnoringCase(line.substr(0, colon), "Content-Disposition")) continue;
    if (name) {
      error = "a part has two Content-Disposition headers";
      return std::nullopt;
    }
    name = fieldName(line.substr(colon + 1), error);
    if (!name) return std::nullopt;
  }
  if (!name) error = "a part has no Content-Disposition header";
  return name;
}

}  // namespace

std::optional<std::string> formBoundary(std::string_view contentType, std::string& error) {
  std::size_t semicolon = contentType.find(';');
  if (!equalsIgnoringCase(trimmedBlanks(contentType.substr(0, semicolon)), "multipart/form-data")) {
    error = "the body is not multipart/form-data";
    return std::nullopt;
  }
  auto found = parameters(semicolon == std::string_view::npos ? std::string_view() : contentType.substr(semicolon));
  if (!found) {
    error = "the Content-Type has malformed parameters";
    return std::nullopt;
  }
  for (const auto& [key, value] : *found) {
    if (key != "boundary") continue;
    bool valid = !value.empty() && value.size() <= 70 && value.back() != ' ';
    for (char c : value) valid = valid && isBoundaryCharacter(c);
    if (!valid) {
      error = "the multipart boundary is not valid";
      return std::nullopt;
    }
    return value;
  }
  error = "the Content-Type has no multipart boundary";
  return std::nullopt;
}

std::optional<std::vector<FormPart>> parseFormData(std::string_view body, std::string_view boundary, std::string& error) {
  const std::string delimiter = "--" + std::string(boundary);
  const std::string nextDelimiter = "\r\n" + delimiter;
  if (!body.starts_with(delimiter)) {
    error = "the body does not start with the boundary";
    return std::nullopt;
  }
  std::string_view rest = body.substr(delimiter.size());
  std::vector<FormPart> parts;
  for (;;) {
    if (rest.starts_with("--")) {
      rest.remove_prefix(2);
      if (!rest.empty() && !rest.starts_with("\r\n")) {
        error = "something other than a line break follows the closing boundary";
        return std::nullopt;
      }
      return parts;
    }
    if (!rest.starts_with("\r\n")) {
      error = "something other than a line break follows a boundary";
      return std::nullopt;
    }
    rest.remove_prefix(2);
    std::optional<std::string> name = partHeaders(rest, error);
    if (!name) return std::nullopt;
    std::size_t valueEnd = rest.find(nextDelimiter);
    if (valueEnd == std::string_view::npos) {
      error = "the body ends without its closing boundary";
      return std::nullopt;
    }
    parts.push_back(FormPart{std::move(*name), std::string(rest.substr(0, valueEnd))});
    rest.remove_prefix(valueEnd + nextDelimiter.size());
  }
}

}  // namespace quorlex::gateway
