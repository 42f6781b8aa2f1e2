#include "gateway/request_address.h"

namespace quorlex {
namespace {

constexpr bool isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
constexpr bool isSchemeCharacter(char16_t c) {
  return isLetter(c) || (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}
constexpr char16_t lowered(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowered(a[i]) != b[i]) return false;
  }
  return true;
}

}  // namespace

bool namesOtherScheme(std::u16string_view address) {
  std::size_t colon = address.find(u':');
  if (colon == std::u16string_view::npos || colon == 0 || !isLetter(address[0])) return false;
  std::u16string_view scheme = address.substr(0, colon);
  for (char16_t c : scheme) {
    if (!isSchemeCharacter(c)) return false;
  }
  return !sameIgnoringCase(scheme, u"http") && !sameIgnoringCase(scheme, u"https");
}

}  // namespace quorlex
