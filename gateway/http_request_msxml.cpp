// The HTTP request on the platform's XML-HTTP object (IXMLHTTPRequest), synchronous, on the
// caller's thread and apartment. The body goes to send as a byte array (VT_ARRAY | VT_UI1):
// an IStream is not sent by every implementation.
#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "common/com_ptr.h"
#include "common/unique_bstr.h"
#include "common/unique_variant.h"
#include "gateway/http_request.h"
#include "gateway/msxml_interfaces.h"
#include "gateway/reply_text.h"
#include "gateway/request_address.h"
#include "gateway/transport_codes.h"

namespace quorlex {
namespace {

// In-process, handler, local and remote servers alike.
constexpr DWORD everyServerContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                     CLSCTX_REMOTE_SERVER;

// What the request object reports when no connection came about, by version and by where it
// noticed: the URL moniker's codes, or WinINet's errors lifted to result codes. Wine reports a
// refused connection and an unknown host name as a download failure, before any byte of a
// reply; the system's one code for all of them is resultServerUnreachable.
bool isConnectionFailure(HRESULT code) {
  switch (static_cast<std::uint32_t>(code)) {
    case 0x800C0004:  // INET_E_CANNOT_CONNECT
    case 0x800C0005:  // INET_E_RESOURCE_NOT_FOUND
    case 0x800C0008:  // INET_E_DOWNLOAD_FAILURE
    case 0x800C000B:  // INET_E_CONNECTION_TIMEOUT
    case 0x80072EE7:  // ERROR_INTERNET_NAME_NOT_RESOLVED
    case 0x80072EFD:  // ERROR_INTERNET_CANNOT_CONNECT
      return true;
    default:
      return false;
  }
}

ResultCode copyText(HRESULT code, const unique_bstr& text, std::u16string& out) {
  if (FAILED(code)) return code;
  out = text.text();
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

class MsxmlReplyDocument final : public ReplyDocument {
 public:
  explicit MsxmlReplyDocument(com_ptr<IDispatch> document) : document_(std::move(document)) {}

 private:
  com_ptr<IDispatch> document_;
};

class MsxmlHttpRequest final : public HttpRequest {
 public:
  explicit MsxmlHttpRequest(com_ptr<msxml::IXMLHTTPRequest> request) : request_(std::move(request)) {}

  ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous, std::u16string_view user,
                  std::u16string_view password) override {
    if (asynchronous) return resultNotImplemented;  // send is to return with the whole reply
    // Other schemes are the request object's too (file, ftp); the gateway speaks HTTP only,
    // and a stored ftp address would keep Wine's request waiting for ever.
    if (namesOtherScheme(url)) return transportCode::unrecognizedScheme;
    unique_bstr methodText = unique_bstr::from(method);
    unique_bstr address = unique_bstr::from(url);
    unique_bstr userText = unique_bstr::from(user);
    unique_bstr passwordText = unique_bstr::from(password);
    if (!methodText || !address || !userText || !passwordText) return resultOutOfMemory;
    unique_variant synchronous;
    V_VT(synchronous.get()) = VT_I2;
    V_I2(synchronous.get()) = 0;
    // The user and password go as texts, empty ones too.
    unique_variant userArgument = unique_variant::fromBstr(userText.detach());
    unique_variant passwordArgument = unique_variant::fromBstr(passwordText.detach());
    return request_->open(methodText.get(), address.get(), *synchronous.get(), *userArgument.get(),
                          *passwordArgument.get());
  }

  ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) override {
    unique_bstr header = unique_bstr::from(name);
    unique_bstr text = unique_bstr::from(value);
    if (!header || !text) return resultOutOfMemory;
    return request_->setRequestHeader(header.get(), text.get());
  }

  ResultCode send(std::span<const std::uint8_t> body) override {
    unique_variant bytes;
    if (HRESULT code = byteArray(body, bytes); FAILED(code)) return code;
    HRESULT code = request_->send(*bytes.get());
    if (FAILED(code)) return isConnectionFailure(code) ? resultServerUnreachable : code;
    // A connection closed before any status line "succeeds" with status 0 (Wine): no reply
    // came, as when the server drops the connection.
    LONG status = 0;
    if (FAILED(request_->get_status(&status)) || status == 0) return transportCode::connectionAborted;
    return resultOk;
  }

  ResultCode status(std::int32_t& out) override {
    LONG status = 0;
    HRESULT code = request_->get_status(&status);
    if (FAILED(code)) return code;
    out = static_cast<std::int32_t>(status);
    return resultOk;
  }

  ResultCode statusText(std::u16string& out) override {
    unique_bstr text;
    HRESULT code = request_->get_statusText(text.put());
    return copyText(code, text, out);
  }

  // The body decoded by its byte-order mark or declared charset, as the Linux request does;
  // the object's own responseText reads everything as UTF-8 and stops at the first byte
  // that is not.
  ResultCode responseText(std::u16string& out) override {
    unique_variant body;
    std::vector<std::uint8_t> bytes;
    if (FAILED(request_->get_responseBody(body.put())) || !copyBytes(*body.get(), bytes)) {
      unique_bstr text;
      HRESULT code = request_->get_responseText(text.put());
      return copyText(code, text, out);
    }
    std::u16string contentType;
    unique_bstr name = unique_bstr::from(u"Content-Type");
    unique_bstr value;
    if (name && SUCCEEDED(request_->getResponseHeader(name.get(), value.put()))) contentType = value.text();
    out = decodeReplyText(bytes, toAscii(contentType));
    return resultOk;
  }

  ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) override {
    com_ptr<IDispatch> document;
    HRESULT code = request_->get_responseXML(document.put());
    if (FAILED(code)) return code;
    if (!document) return resultFail;
    out = std::make_unique<MsxmlReplyDocument>(std::move(document));
    return resultOk;
  }

 private:
  // A header value is ASCII where it matters (the charset name); anything else is dropped.
  static std::string toAscii(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text) {
      if (c < 0x80) ascii.push_back(static_cast<char>(c));
    }
    return ascii;
  }

  com_ptr<msxml::IXMLHTTPRequest> request_;
};

}  // namespace

std::unique_ptr<HttpRequest> createHttpRequest() {
  // Newest first; the first that can be created is used.
  for (const CLSID* type : {&msxml::clsidXmlHttp60, &msxml::clsidXmlHttp40, &msxml::clsidXmlHttp30,
                            &msxml::clsidXmlHttp26, &msxml::clsidXmlHttp}) {
    com_ptr<msxml::IXMLHTTPRequest> request;
    if (SUCCEEDED(CoCreateInstance(*type, nullptr, everyServerContext, msxml::iidXmlHttpRequest, request.put_void()))) {
      return std::make_unique<MsxmlHttpRequest>(std::move(request));
    }
  }
  return nullptr;
}

}  // namespace quorlex
