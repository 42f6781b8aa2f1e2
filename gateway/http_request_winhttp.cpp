// The HTTP request on WinHTTP's own functions, synchronous, on the caller's thread, with
// redirects switched off. The XML-HTTP objects (MSXML's XMLHTTP 6.0 to 2.6) follow every
// redirect and report the final page's status, so a post answered 302 would turn into a GET
// whose 200 counted as released. WinHTTP's scriptable request object (IWinHttpRequest) can
// switch that off, but it keeps the whole reply in memory however long it is, and under Wine
// it takes a connection reset in the reply's head or body for a complete 200. Here the reply
// is read piece by piece: at most replyBytesKept of it is kept, a read that fails fails the
// post, and a body shorter than its Content-Length is a cut connection.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "common/text.h"
#include "gateway/http_request.h"
#include "gateway/reply_text.h"
#include "gateway/request_address.h"
#include "gateway/transport_codes.h"
#include "gateway/unique_hinternet_win32.h"

namespace quorlex {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The last WinHTTP error as a result code. Failing to connect at all is the system's one code
// for an unreachable server; a connection the server reset or dropped is a terminated one,
// whichever layer noticed it.
ResultCode lastFailure() {
  DWORD error = GetLastError();
  switch (error) {
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    // Sending and receiving wait without limit (see open), so only connecting can time out.
    case ERROR_WINHTTP_TIMEOUT:
      return resultServerUnreachable;
    case WSAECONNRESET:
    case WSAECONNABORTED:
      return transportCode::connectionAborted;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return resultOutOfMemory;
    case ERROR_SUCCESS:
      return transportCode::internalError;
    default:
      return fromPlatformError(error);
  }
}

// One header of the reply as text, or none.
std::optional<std::u16string> replyHeader(HINTERNET request, DWORD query) {
  DWORD size = 0;
  (void)WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                            WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::nullopt;
  std::u16string text(size / sizeof(char16_t), u'\0');
  if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  text.resize(size / sizeof(char16_t));
  return text;
}

// The strongest scheme the server offers for the credentials; 0 for none WinHTTP can answer.
DWORD chosenScheme(DWORD offered) {
  for (DWORD scheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM, WINHTTP_AUTH_SCHEME_DIGEST,
                       WINHTTP_AUTH_SCHEME_BASIC}) {
    if (offered & scheme) return scheme;
  }
  return 0;
}

// The reply document of a 200 is handed over and released unread, so it keeps the reply's
// bytes as they came (as many as were kept), unparsed.
class WinHttpReplyDocument final : public ReplyDocument {
 public:
  explicit WinHttpReplyDocument(std::vector<std::uint8_t> reply) : reply_(std::move(reply)) {}

 private:
  std::vector<std::uint8_t> reply_;
};

class WinHttpRequest final : public HttpRequest {
 public:
  ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous, std::u16string_view user,
                  std::u16string_view password) override {
    sent_ = false;
    request_.reset();
    connection_.reset();
    session_.reset();
    if (asynchronous) return resultNotImplemented;  // send is to return with the whole reply
    // The gateway speaks HTTP only; another scheme never reaches WinHTTP.
    if (namesOtherScheme(url)) return transportCode::unrecognizedScheme;

    std::u16string address(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wide(address), static_cast<DWORD>(address.size()), 0, &parts)) return lastFailure();
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
      return transportCode::unrecognizedScheme;
    }
    std::u16string host(reinterpret_cast<const char16_t*>(parts.lpszHostName), parts.dwHostNameLength);
    std::u16string path(reinterpret_cast<const char16_t*>(parts.lpszUrlPath), parts.dwUrlPathLength);
    path.append(reinterpret_cast<const char16_t*>(parts.lpszExtraInfo), parts.dwExtraInfoLength);
    if (path.empty()) path = u"/";

    session_.reset(WinHttpOpen(L"quorlex", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session_) return lastFailure();
    // No time-out of our own while the gateway works: the reply is awaited as long as it takes
    // (0 is "infinite"); connecting keeps WinHTTP's 60 seconds.
    if (!WinHttpSetTimeouts(session_.get(), 0, 60000, 0, 0)) return lastFailure();
    connection_.reset(WinHttpConnect(session_.get(), wide(host), parts.nPort, 0));
    if (!connection_) return lastFailure();
    std::u16string verb(method);
    request_.reset(WinHttpOpenRequest(connection_.get(), wide(verb), wide(path), nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES,
                                      parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!request_) return lastFailure();
    // A redirect is never followed: its own status is the answer, and anything but 200 fails
    // the post.
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    if (!WinHttpSetOption(request_.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable)) {
      return lastFailure();
    }
    // Empty credentials are no credentials: a gateway that asks gets its 401 back.
    credentials_ = !user.empty() || !password.empty();
    user_ = user;
    password_ = password;
    return resultOk;
  }

  ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) override {
    if (!request_ || sent_) return resultUnexpected;
    // One header per call: a line break would let a value add headers of its own.
    if (!isToken(toUtf8(name)) || value.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos) {
      return resultInvalidArgument;
    }
    std::u16string line(name);
    line.append(u": ").append(value);
    if (!WinHttpAddRequestHeaders(request_.get(), wide(line), static_cast<DWORD>(line.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE)) {
      return lastFailure();
    }
    return resultOk;
  }

  // The credentials are offered only when the server asks: the request goes out without them,
  // and a 401 is answered once, by the same request, in the strongest scheme it offers.
  ResultCode send(std::span<const std::uint8_t> body) override {
    if (!request_ || sent_) return resultUnexpected;
    if (ResultCode code = exchange(body); failed(code)) return code;
    if (credentials_ && status_ == 401) {
      DWORD offered = 0;
      DWORD first = 0;
      DWORD target = 0;
      if (WinHttpQueryAuthSchemes(request_.get(), &offered, &first, &target) && chosenScheme(offered) != 0 &&
          target == WINHTTP_AUTH_TARGET_SERVER) {
        if (!WinHttpSetCredentials(request_.get(), target, chosenScheme(offered), wide(user_), wide(password_),
                                   nullptr)) {
          return lastFailure();
        }
        if (ResultCode code = exchange(body); failed(code)) return code;
      }
    }
    sent_ = true;
    return resultOk;
  }

  ResultCode status(std::int32_t& out) override {
    if (!sent_) return resultUnexpected;
    out = status_;
    return resultOk;
  }

  ResultCode statusText(std::u16string& out) override {
    if (!sent_) return resultUnexpected;
    out = replyHeader(request_.get(), WINHTTP_QUERY_STATUS_TEXT).value_or(u"");
    return resultOk;
  }

  // The body decoded by its byte-order mark or declared charset, as the Linux request does.
  ResultCode responseText(std::u16string& out) override {
    if (!sent_) return resultUnexpected;
    std::u16string contentType = replyHeader(request_.get(), WINHTTP_QUERY_CONTENT_TYPE).value_or(u"");
    out = decodeReplyText(reply_, toUtf8(contentType));
    return resultOk;
  }

  ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) override {
    if (!sent_) return resultUnexpected;
    out = std::make_unique<WinHttpReplyDocument>(reply_);
    return resultOk;
  }

 private:
  // One round: the request with its body, the reply's head, and its body read to the end.
  ResultCode exchange(std::span<const std::uint8_t> body) {
    DWORD length = static_cast<DWORD>(body.size());
    void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<std::uint8_t*>(body.data());
    if (!WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, data, length, length, 0) ||
        !WinHttpReceiveResponse(request_.get(), nullptr)) {
      return lastFailure();
    }
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
        status == 0) {
      // A connection closed before any status line must not pass for a reply.
      return transportCode::invalidServerResponse;
    }
    status_ = static_cast<std::int32_t>(status);
    return readBody();
  }

  // Reads the body to its end, keeping its first replyBytesKept bytes.
  ResultCode readBody() {
    reply_.clear();
    std::optional<std::u16string> declared = replyHeader(request_.get(), WINHTTP_QUERY_CONTENT_LENGTH);
    bool chunked = replyHeader(request_.get(), WINHTTP_QUERY_TRANSFER_ENCODING).has_value();
    // An HTTP/1.1 reply that neither declares its length nor comes in chunks ends where the
    // connection ends, and Wine's WinHTTP takes a reset anywhere in the reply's head for that
    // end (and may then read past its own buffer). Such a body is not read: a 200 could be a
    // cut one and is never taken for a release; any other status stands without its
    // description. HTTP/1.0 replies end that way by rule and are read.
    if (!declared && !chunked && replyHeader(request_.get(), WINHTTP_QUERY_VERSION) != u"HTTP/1.0") {
      return status_ == 200 ? transportCode::connectionAborted : resultOk;
    }
    std::vector<std::uint8_t> buffer(64 * 1024);
    std::uint64_t total = 0;
    for (;;) {
      // Asked first how much is there, as WinHTTP's own request object does.
      DWORD available = 0;
      if (!WinHttpQueryDataAvailable(request_.get(), &available)) return lastFailure();
      if (available == 0) break;
      DWORD read = 0;
      if (!WinHttpReadData(request_.get(), buffer.data(), std::min(available, static_cast<DWORD>(buffer.size())),
                           &read)) {
        return lastFailure();
      }
      if (read == 0) break;
      total += read;
      std::size_t room = replyBytesKept - std::min(replyBytesKept, reply_.size());
      reply_.insert(reply_.end(), buffer.begin(), buffer.begin() + std::min<std::size_t>(room, read));
    }
    // WinHTTP ends a body cut short by the server like a whole one: its declared length tells.
    if (declared) {
      std::optional<std::uint64_t> expected = decimalNumber(toUtf8(*declared));
      if (expected && total < *expected) return transportCode::connectionAborted;
    }
    return resultOk;
  }

  unique_hinternet session_;
  unique_hinternet connection_;
  unique_hinternet request_;
  bool credentials_ = false;
  std::u16string user_;
  std::u16string password_;
  bool sent_ = false;
  std::int32_t status_ = 0;
  std::vector<std::uint8_t> reply_;
};

}  // namespace

std::unique_ptr<HttpRequest> createHttpRequest() { return std::make_unique<WinHttpRequest>(); }

}  // namespace quorlex
