// The HTTP request on the platform's WinHTTP request object (IWinHttpRequest), synchronous,
// on the caller's thread and apartment, with redirects switched off. The XML-HTTP objects
// (MSXML's XMLHTTP 6.0 to 2.6) follow every redirect and then report the final page's status:
// a post answered 302 would turn into a GET without the body whose 200 counted as released,
// and they offer neither an option against it nor a way to see that it happened. WinHTTP's
// object has the option, on Windows and under Wine alike. The body goes to Send as a byte array
// (VT_ARRAY | VT_UI1).
#include <windows.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "common/unique_variant.h"
#include "gateway/http_request.h"
#include "gateway/reply_text.h"
#include "gateway/request_address.h"
#include "gateway/transport_codes.h"
#include "gateway/winhttp_interfaces.h"

namespace quorlex {
namespace {

// In-process, handler, local and remote servers alike.
constexpr DWORD everyServerContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                     CLSCTX_REMOTE_SERVER;

// What the request object reports when no connection came about: WinHTTP's errors lifted to
// result codes. Sending and receiving wait without limit (see openRequest), so a time-out can
// only come from connecting. The system's one code for all of them is resultServerUnreachable.
bool isConnectionFailure(HRESULT code) {
  switch (static_cast<std::uint32_t>(code)) {
    case 0x80072EE2:  // ERROR_WINHTTP_TIMEOUT
    case 0x80072EE7:  // ERROR_WINHTTP_NAME_NOT_RESOLVED
    case 0x80072EFD:  // ERROR_WINHTTP_CANNOT_CONNECT
      return true;
    default:
      return false;
  }
}

// A text of the object up to its first NUL: Wine's counts the terminator of a status text or
// header value into the BSTR's length.
std::u16string textBefore0(const unique_bstr& text) {
  std::u16string_view view = unique_bstr::view(text.get());
  return std::u16string(view.substr(0, view.find(u'\0')));
}

ResultCode copyText(HRESULT code, const unique_bstr& text, std::u16string& out) {
  if (FAILED(code)) return code;
  out = textBefore0(text);
  return resultOk;
}

// Locks an array's data for reading while it lives.
class ArrayAccess {
 public:
  explicit ArrayAccess(SAFEARRAY* array) : array_(array) {
    if (FAILED(SafeArrayAccessData(array_, &data_))) data_ = nullptr;
  }
  ~ArrayAccess() {
    if (data_) (void)SafeArrayUnaccessData(array_);  // balances the access above
  }
  ArrayAccess(const ArrayAccess&) = delete;
  ArrayAccess& operator=(const ArrayAccess&) = delete;
  std::uint8_t* data() const { return static_cast<std::uint8_t*>(data_); }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
};

// A one-dimensional byte array holding a copy of the bytes.
HRESULT byteArray(std::span<const std::uint8_t> bytes, unique_variant& out) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
  if (!array) return E_OUTOFMEMORY;
  VARIANT* value = out.put();
  V_VT(value) = VT_ARRAY | VT_UI1;
  V_ARRAY(value) = array;  // owned by out from here on
  ArrayAccess access(array);
  if (!access.data()) return E_UNEXPECTED;
  if (!bytes.empty()) std::memcpy(access.data(), bytes.data(), bytes.size());
  return S_OK;
}

// A copy of the bytes of a one-dimensional byte array; false for anything else.
bool copyBytes(const VARIANT& value, std::vector<std::uint8_t>& out) {
  SAFEARRAY* array = V_VT(&value) == (VT_ARRAY | VT_UI1) ? V_ARRAY(&value) : nullptr;
  if (!array || SafeArrayGetDim(array) != 1) return false;
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) return false;
  ArrayAccess access(array);
  if (!access.data()) return false;
  out.assign(access.data(), access.data() + (upper - lower + 1));
  return true;
}

// The reply document of a 200 is handed over and released unread, so it keeps the reply's
// bytes as they came, unparsed.
class WinHttpReplyDocument final : public ReplyDocument {
 public:
  explicit WinHttpReplyDocument(std::vector<std::uint8_t> reply) : reply_(std::move(reply)) {}

 private:
  std::vector<std::uint8_t> reply_;
};

class WinHttpRequest final : public HttpRequest {
 public:
  explicit WinHttpRequest(com_ptr<winhttp::IWinHttpRequest> request) : request_(std::move(request)) {}

  ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous, std::u16string_view user,
                  std::u16string_view password) override {
    if (asynchronous) return resultNotImplemented;  // send is to return with the whole reply
    // The gateway speaks HTTP only; another scheme never reaches the request object.
    if (namesOtherScheme(url)) return transportCode::unrecognizedScheme;
    method_ = unique_bstr::from(method);
    address_ = unique_bstr::from(url);
    // Empty credentials are no credentials: a gateway that asks gets its 401 back.
    user_ = unique_bstr();
    password_ = unique_bstr();
    if (!user.empty() || !password.empty()) {
      user_ = unique_bstr::from(user);
      password_ = unique_bstr::from(password);
      if (!user_ || !password_) return resultOutOfMemory;
    }
    if (!method_ || !address_) return resultOutOfMemory;
    headers_.clear();
    return openRequest();
  }

  ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) override {
    unique_bstr header = unique_bstr::from(name);
    unique_bstr text = unique_bstr::from(value);
    if (!header || !text) return resultOutOfMemory;
    if (HRESULT code = request_->SetRequestHeader(header.get(), text.get()); FAILED(code)) return code;
    headers_.emplace_back(std::move(header), std::move(text));
    return resultOk;
  }

  // The credentials are offered only when the server asks: the request goes out without
  // them, and a 401 is answered once by the same request with them. (Wine's object sends
  // them at once when given before the first send.)
  ResultCode send(std::span<const std::uint8_t> body) override {
    unique_variant bytes;
    if (HRESULT code = byteArray(body, bytes); FAILED(code)) return code;
    if (ResultCode code = sendOnce(bytes); failed(code)) return code;
    LONG status = 0;
    if (!user_ || FAILED(request_->get_Status(&status)) || status != 401) return resultOk;
    if (ResultCode code = openRequest(); failed(code)) return code;
    for (const auto& [name, value] : headers_) {
      if (HRESULT code = request_->SetRequestHeader(name.get(), value.get()); FAILED(code)) return code;
    }
    if (HRESULT code = request_->SetCredentials(user_.get(), password_.get(), winhttp::credentialsForServer);
        FAILED(code)) {
      return code;
    }
    return sendOnce(bytes);
  }

  ResultCode status(std::int32_t& out) override {
    LONG status = 0;
    HRESULT code = request_->get_Status(&status);
    if (FAILED(code)) return code;
    out = static_cast<std::int32_t>(status);
    return resultOk;
  }

  ResultCode statusText(std::u16string& out) override {
    unique_bstr text;
    HRESULT code = request_->get_StatusText(text.put());
    return copyText(code, text, out);
  }

  // The body decoded by its byte-order mark or declared charset, as the Linux request does.
  ResultCode responseText(std::u16string& out) override {
    std::vector<std::uint8_t> bytes;
    if (!responseBytes(bytes)) {
      unique_bstr text;
      HRESULT code = request_->get_ResponseText(text.put());
      return copyText(code, text, out);
    }
    std::u16string contentType;
    unique_bstr name = unique_bstr::from(u"Content-Type");
    unique_bstr value;
    if (name && SUCCEEDED(request_->GetResponseHeader(name.get(), value.put()))) contentType = textBefore0(value);
    out = decodeReplyText(bytes, toAscii(contentType));
    return resultOk;
  }

  ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) override {
    std::vector<std::uint8_t> bytes;
    if (!responseBytes(bytes)) return resultFail;
    out = std::make_unique<WinHttpReplyDocument>(std::move(bytes));
    return resultOk;
  }

 private:
  ResultCode openRequest() {
    unique_variant synchronous;
    V_VT(synchronous.get()) = VT_BOOL;
    V_BOOL(synchronous.get()) = VARIANT_FALSE;
    if (HRESULT code = request_->Open(method_.get(), address_.get(), *synchronous.get()); FAILED(code)) return code;
    // A redirect is never followed: its own status is the answer, and anything but 200 fails
    // the post. An object that will not switch following off is not used at all.
    unique_variant off;
    V_VT(off.get()) = VT_BOOL;
    V_BOOL(off.get()) = VARIANT_FALSE;
    if (HRESULT code = request_->put_Option(winhttp::optionEnableRedirects, *off.get()); FAILED(code)) return code;
    // No time-out of our own while the gateway works: the reply is awaited as long as it
    // takes (0 is "infinite"); connecting keeps the object's 60 seconds.
    return request_->SetTimeouts(0, 60000, 0, 0);
  }

  ResultCode sendOnce(const unique_variant& bytes) {
    HRESULT code = request_->Send(*bytes.get());
    if (FAILED(code)) return isConnectionFailure(code) ? resultServerUnreachable : code;
    // A connection closed before any status line must not pass for a reply.
    LONG status = 0;
    if (FAILED(request_->get_Status(&status)) || status == 0) return transportCode::connectionAborted;
    return resultOk;
  }

  // The reply body's bytes; false when the object has none to give (an empty body is an
  // empty array).
  bool responseBytes(std::vector<std::uint8_t>& out) {
    unique_variant body;
    if (FAILED(request_->get_ResponseBody(body.put()))) return false;
    if (body.type() == VT_EMPTY) {
      out.clear();
      return true;
    }
    return copyBytes(*body.get(), out);
  }

  // A header value is ASCII where it matters (the charset name); anything else is dropped.
  static std::string toAscii(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text) {
      if (c < 0x80) ascii.push_back(static_cast<char>(c));
    }
    return ascii;
  }

  com_ptr<winhttp::IWinHttpRequest> request_;
  unique_bstr method_;
  unique_bstr address_;
  unique_bstr user_;
  unique_bstr password_;
  std::vector<std::pair<unique_bstr, unique_bstr>> headers_;
};

}  // namespace

std::unique_ptr<HttpRequest> createHttpRequest() {
  com_ptr<winhttp::IWinHttpRequest> request;
  if (FAILED(CoCreateInstance(winhttp::clsidWinHttpRequest, nullptr, everyServerContext, winhttp::iidWinHttpRequest,
                              request.put_void()))) {
    return nullptr;
  }
  return std::make_unique<WinHttpRequest>(std::move(request));
}

}  // namespace quorlex
