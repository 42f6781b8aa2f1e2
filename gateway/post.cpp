#include <string>

#include "common/text.h"
#include "gateway/describe_result.h"
#include "gateway/multipart_form.h"
#include "gateway/reply_reader.h"

namespace quorlex {
namespace {

constexpr std::u16string_view setHeaderFailed = u"Failed to setRequestHeader";

std::u16string failureText(std::u16string_view what, ResultCode code) {
  std::u16string text(what);
  text.append(formatCode(code)).append(u", ").append(describeResult(code));
  return text;
}

// Status is not 200: "HTTP Request returned %d (%s) %s" with the gateway's description.
std::u16string rejectionText(HttpRequest& request, std::int32_t status) {
  std::u16string statusText;
  std::u16string replyText;
  if (failed(request.statusText(statusText))) statusText.clear();
  if (failed(request.responseText(replyText))) replyText.clear();
  std::u16string description = readStatusDescription(replyText);
  (void)request.status(status);  // read once more; the first reading stands if this fails
  std::u16string text = u"HTTP Request returned ";
  text.append(decimalText(status)).append(u" (").append(statusText).append(u") ").append(description);
  return text;
}

}  // namespace

bool MultipartForm::post(std::u16string_view url, std::u16string_view user, std::u16string_view password,
                         std::unique_ptr<ReplyDocument>& replyDocument, std::u16string& errorText,
                         const HttpRequestFactory& newRequest) noexcept {
  try {
    std::unique_ptr<HttpRequest> request = newRequest ? newRequest() : nullptr;
    if (!request) {
      errorText = u"Failed to create XMLHttpRequest";
      return false;
    }
    if (ResultCode code = request->open(u"POST", url, false, user, password); failed(code)) {
      errorText = failureText(u"http open failed: ", code);
      return false;
    }
    if (failed(request->setRequestHeader(u"If-Modified-Since", u"Sat, 1 Jan 2000 00:00:00 GMT")) ||
        failed(request->setRequestHeader(u"charset", u"utf-8"))) {
      errorText = setHeaderFailed;
      return false;
    }
    if (failed(request->setRequestHeader(u"Content-type", u"multipart/form-data; boundary=" + boundary_))) {
      errorText = u"Failed to setRequestHeader (Content-type)";
      return false;
    }

    // A body without its whole closing delimiter is never sent: a lenient gateway could take
    // it. Only memory (or the body's limit) can make the append short.
    if (!writeTerminator()) {
      errorText = failureText(u"http request failed: ", resultOutOfMemory);
      return false;
    }
    rewind();
    std::uint32_t length = bodyLength();
    // The declared length stops right after the closing "--" and leaves out the final
    // CR LF CR LF; exactly that many bytes go on the wire, so a kept-alive connection holds
    // nothing after the closing delimiter.
    std::uint32_t declared = length >= 4 ? length - 4 : 0;
    if (failed(request->setRequestHeader(u"Content-Length", decimalText(declared)))) {
      errorText = setHeaderFailed;
      return false;
    }
    if (ResultCode code = request->send(bodyBytes().first(declared)); failed(code)) {
      errorText = failureText(u"http request failed: ", code);
      return false;
    }

    std::int32_t status = 0;
    if (failed(request->status(status))) {
      errorText = u"Failed to get status";
      return false;
    }
    if (status != 200) {
      errorText = rejectionText(*request, status);
      return false;
    }
    std::unique_ptr<ReplyDocument> document;
    if (failed(request->responseXML(document)) || !document) {
      errorText = u"Failed to get_responseText";
      return false;
    }
    replyDocument = std::move(document);
    return true;
  } catch (...) {
    // Only memory can run out here; the platform's failures all arrive as codes.
    try {
      errorText = failureText(u"http request failed: ", resultOutOfMemory);
    } catch (...) {
      errorText.clear();
    }
    return false;
  }
}

}  // namespace quorlex
