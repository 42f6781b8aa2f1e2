#include "gateway/describe_result.h"

#include "gateway/http_request.h"
#include "gateway/system_message.h"

namespace quorlex {
namespace {

bool isWhiteSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string trimmed(const std::u16string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && isWhiteSpace(text[first])) ++first;
  while (last > first && isWhiteSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

}  // namespace

std::u16string describeResult(ResultCode code) {
  if (code == resultServerUnreachable) return u"Unable to contact server";
  if (std::optional<std::u16string> text = systemMessageText(code)) {
    std::u16string line = trimmed(*text);
    if (!line.empty()) return line;
  }
  return u"Unknown error " + formatCode(code);
}

}  // namespace quorlex
