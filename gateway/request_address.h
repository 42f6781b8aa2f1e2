#pragma once
// What a request object may be asked to fetch: the gateway is reached over HTTP or HTTPS only.

#include <string_view>

namespace quorlex {

// True when the address begins with a scheme (RFC 3986: a letter, then letters, digits,
// "+", "-" or ".", then ":") other than http or https, in any case. An address without a
// scheme is left to the request object.
bool namesOtherScheme(std::u16string_view address);

}  // namespace quorlex
