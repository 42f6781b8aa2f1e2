// The HTTP request on libcurl: synchronous, HTTP/1.1 over HTTP or HTTPS, no redirects
// followed, the user name and password offered when the server asks for them, in any scheme
// libcurl supports, certificates checked against the system's authorities or those in the
// bundle SSL_CERT_FILE names. Connections are kept per thread and reused by the next request.
#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "common/ascii.h"
#include "common/text.h"
#include "gateway/http_request.h"
#include "gateway/reply_text.h"
#include "gateway/transport_codes.h"

namespace quorlex {
namespace {

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct HeaderListFree {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlCleanup {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextFree {
  void operator()(char* text) const { curl_free(text); }
};

bool curlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

// Each thread keeps the handle of its last request, and with it libcurl's cache of
// connections, host names and TLS sessions: the next request on the thread reuses the
// connection. A thread's requests run one after the other, so one handle is enough.
thread_local EasyHandle idleHandle;

EasyHandle takeHandle() {
  if (idleHandle) return std::move(idleHandle);
  return EasyHandle(curl_easy_init());
}

// open sets every option a request uses, so a handle needs no reset between requests (a
// reset would also free and reallocate libcurl's transfer buffers each time).
void giveBack(EasyHandle handle) {
  if (handle && !idleHandle) idleHandle = std::move(handle);
}

ResultCode transportFailure(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    // No time-out is set, so only connecting can time out (libcurl's connect limit).
    case CURLE_OPERATION_TIMEDOUT:
      return resultServerUnreachable;
    case CURLE_URL_MALFORMAT:
      return transportCode::invalidUrl;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return transportCode::certificateErrors;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_CLIENTCERT:
    case CURLE_USE_SSL_FAILED:
      return transportCode::secureChannelError;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
      return transportCode::connectionAborted;
    // open has checked the address's scheme: here it is the reply that speaks no HTTP/1.x.
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
      return transportCode::invalidServerResponse;
    case CURLE_OUT_OF_MEMORY:
      return resultOutOfMemory;
    default:
      return transportCode::internalError;
  }
}

// The address must parse as a URL of a scheme the request speaks. Every document of a batch
// goes to the same address: the last one found good on this thread is not parsed again.
ResultCode checkAddress(const std::string& address) {
  thread_local std::string lastGood;
  if (!lastGood.empty() && address == lastGood) return resultOk;
  if (address.find('\0') != std::string::npos) return transportCode::invalidUrl;
  std::unique_ptr<CURLU, UrlCleanup> url(curl_url());
  if (!url) return resultOutOfMemory;
  if (curl_url_set(url.get(), CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    return transportCode::invalidUrl;
  }
  char* schemeText = nullptr;
  if (curl_url_get(url.get(), CURLUPART_SCHEME, &schemeText, 0) != CURLUE_OK) return transportCode::invalidUrl;
  std::unique_ptr<char, CurlTextFree> scheme(schemeText);
  std::string_view name(scheme.get());
  if (!equalsIgnoringCase(name, "http") && !equalsIgnoringCase(name, "https")) return transportCode::unrecognizedScheme;
  lastGood = address;
  return resultOk;
}

// The reply document of a 200 is handed over and released unread: the release engine never
// looks into it. So it keeps the reply as it came and leaves it unparsed.
class CurlReplyDocument final : public ReplyDocument {
 public:
  explicit CurlReplyDocument(std::string reply) : reply_(std::move(reply)) {}

 private:
  std::string reply_;
};

class CurlHttpRequest final : public HttpRequest {
 public:
  CurlHttpRequest() = default;
  ~CurlHttpRequest() override { giveBack(std::move(easy_)); }
  CurlHttpRequest(const CurlHttpRequest&) = delete;
  CurlHttpRequest& operator=(const CurlHttpRequest&) = delete;

  ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous, std::u16string_view user,
                  std::u16string_view password) override {
    state_ = State::Created;
    if (asynchronous || method != u"POST") return resultNotImplemented;  // the gateway is only ever posted to
    std::string address = toUtf8(url);
    if (ResultCode code = checkAddress(address); failed(code)) return code;

    if (!easy_) easy_ = takeHandle();
    if (!easy_) return resultOutOfMemory;
    headers_.reset();
    declaredLength_.reset();
    expectSet_ = false;
    CURL* easy = easy_.get();
    bool set = curl_easy_setopt(easy, CURLOPT_URL, address.c_str()) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_POST, 1L) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlHttpRequest::onBody) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_WRITEDATA, this) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlHttpRequest::onHeader) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_HEADERDATA, this) == CURLE_OK;
    // Empty credentials are no credentials: a gateway that asks gets its 401 back.
    bool offered = !user.empty() || !password.empty();
    set = set && curl_easy_setopt(easy, CURLOPT_USERNAME, offered ? toUtf8(user).c_str() : nullptr) == CURLE_OK &&
          curl_easy_setopt(easy, CURLOPT_PASSWORD, offered ? toUtf8(password).c_str() : nullptr) == CURLE_OK &&
          curl_easy_setopt(easy, CURLOPT_HTTPAUTH, offered ? static_cast<unsigned long>(CURLAUTH_ANY) : CURLAUTH_BASIC) == CURLE_OK &&
          curl_easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr) == CURLE_OK;
    // A gateway whose certificate comes from a site's own authority is trusted through the
    // bundle that OpenSSL's SSL_CERT_FILE names, in place of the system's (libcurl's fixed
    // default would otherwise hide the variable).
    if (const char* bundle = std::getenv("SSL_CERT_FILE"); bundle && *bundle) {
      set = set && curl_easy_setopt(easy, CURLOPT_CAINFO, bundle) == CURLE_OK;
    }
    if (!set) return resultOutOfMemory;
    state_ = State::Opened;
    return resultOk;
  }

  ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) override {
    if (state_ != State::Opened) return resultUnexpected;
    std::string headerName = toUtf8(name);
    std::string headerValue = toUtf8(value);
    if (!isToken(headerName) || headerValue.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
      return resultInvalidArgument;
    }
    if (equalsIgnoringCase(headerName, "Content-Length")) {
      declaredLength_ = decimalNumber(headerValue);
      if (!declaredLength_) return resultInvalidArgument;
    }
    if (equalsIgnoringCase(headerName, "Expect")) expectSet_ = true;
    // libcurl drops "Name:" with nothing after it; "Name;" is its way to send an empty value.
    return appendHeader(headerValue.empty() ? headerName + ";" : headerName + ": " + headerValue);
  }

  ResultCode send(std::span<const std::uint8_t> body) override {
    if (state_ != State::Opened) return resultUnexpected;
    // The declared length is what the server reads; any other body length would leave the
    // connection out of step.
    if (declaredLength_ && *declaredLength_ != body.size()) return resultInvalidArgument;
    // No "Expect: 100-continue" of libcurl's own for large bodies.
    if (!expectSet_) {
      if (ResultCode code = appendHeader("Expect:"); failed(code)) return code;
    }
    CURL* easy = easy_.get();
    static const char empty[] = "";
    const void* data = body.empty() ? static_cast<const void*>(empty) : static_cast<const void*>(body.data());
    bool set = curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers_.get()) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size())) == CURLE_OK &&
               curl_easy_setopt(easy, CURLOPT_POSTFIELDS, data) == CURLE_OK;
    if (!set) return resultOutOfMemory;

    reply_.clear();
    reasonPhrase_.clear();
    contentType_.clear();
    outOfMemory_ = false;
    CURLcode result = curl_easy_perform(easy);
    if (result != CURLE_OK) {
      state_ = State::Failed;
      return outOfMemory_ ? resultOutOfMemory : transportFailure(result);
    }
    long status = 0;
    (void)curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    status_ = static_cast<std::int32_t>(status);
    state_ = State::Sent;
    return resultOk;
  }

  ResultCode status(std::int32_t& out) override {
    if (state_ != State::Sent) return resultUnexpected;
    out = status_;
    return resultOk;
  }

  ResultCode statusText(std::u16string& out) override {
    if (state_ != State::Sent) return resultUnexpected;
    out = fromUtf8(reasonPhrase_);
    return resultOk;
  }

  ResultCode responseText(std::u16string& out) override {
    if (state_ != State::Sent) return resultUnexpected;
    out = decodeReplyText(std::span(reinterpret_cast<const std::uint8_t*>(reply_.data()), reply_.size()), contentType_);
    return resultOk;
  }

  // Like the platform's object, any body gives a document, whether it is XML or not.
  ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) override {
    if (state_ != State::Sent) return resultUnexpected;
    out = std::make_unique<CurlReplyDocument>(reply_);
    return resultOk;
  }

 private:
  enum class State { Created, Opened, Sent, Failed };

  ResultCode appendHeader(const std::string& line) {
    curl_slist* appended = curl_slist_append(headers_.get(), line.c_str());
    if (!appended) return resultOutOfMemory;
    (void)headers_.release();  // the same list, one entry longer
    headers_.reset(appended);
    return resultOk;
  }

  static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& request = *static_cast<CurlHttpRequest*>(self);
    try {
      std::size_t room = replyBytesKept - std::min(replyBytesKept, request.reply_.size());
      request.reply_.append(data, std::min(room, size * count));
    } catch (...) {
      request.outOfMemory_ = true;
      return 0;  // stops the transfer
    }
    return size * count;
  }

  // Keeps the reason phrase of the last status line (after any 100 or 401 on the way) and
  // the reply's Content-Type.
  static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self) {
    auto& request = *static_cast<CurlHttpRequest*>(self);
    std::string_view line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    try {
      if (line.starts_with("HTTP/")) {
        std::size_t code = line.find(' ');
        std::size_t reason = code == std::string_view::npos ? code : line.find(' ', code + 1);
        request.reasonPhrase_ = reason == std::string_view::npos ? std::string() : std::string(line.substr(reason + 1));
        request.contentType_.clear();
      } else if (std::size_t colon = line.find(':');
                 colon != std::string_view::npos && equalsIgnoringCase(line.substr(0, colon), "Content-Type")) {
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
        request.contentType_ = std::string(value);
      }
    } catch (...) {
      request.outOfMemory_ = true;
      return 0;
    }
    return size * count;
  }

  State state_ = State::Created;
  std::unique_ptr<CURL, EasyCleanup> easy_;
  std::unique_ptr<curl_slist, HeaderListFree> headers_;
  std::optional<std::uint64_t> declaredLength_;
  bool expectSet_ = false;
  bool outOfMemory_ = false;
  std::int32_t status_ = 0;
  std::string reasonPhrase_;
  std::string contentType_;
  std::string reply_;
};

}  // namespace

std::unique_ptr<HttpRequest> createHttpRequest() {
  if (!curlReady()) return nullptr;
  return std::make_unique<CurlHttpRequest>();
}

}  // namespace quorlex
