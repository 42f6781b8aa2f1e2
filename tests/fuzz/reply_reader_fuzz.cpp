// The gateway's reply, any bytes, through what the post does with it: decoded as the request
// object decodes a body, read for its status description over libxml2, and posted through a
// request that answers with a status (200, or the rejection the first byte picks).
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "common/text.h"
#include "gateway/multipart_form.h"
#include "gateway/reply_reader.h"
#include "gateway/reply_text.h"
#include "tests/support/fake_http_request.h"

namespace {

using namespace quorlex;

void check(bool condition) {
  if (!condition) std::abort();
}

constexpr std::array<const char*, 4> contentTypes{
    "", "text/xml; charset=utf-8", "text/xml; charset=ISO-8859-1", "application/xml;charset=\"us-ascii\""};
constexpr std::array<std::int32_t, 8> statuses{200, 400, 401, 404, 500, 302, 100, -1};

bool trimmed(std::u16string_view text) {
  constexpr std::u16string_view space = u" \t\r\n";
  return text.empty() || (space.find(text.front()) == std::u16string_view::npos &&
                          space.find(text.back()) == std::u16string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  std::span<const std::uint8_t> body(data + 1, size - 1);

  std::u16string text = decodeReplyText(body, contentTypes[choice & 3]);
  std::u16string description = readStatusDescription(text);
  check(trimmed(description));
  check(readStatusDescription(text) == description);  // nothing left behind by the first read

  auto exchange = std::make_shared<test_support::FakeExchange>();
  exchange->status = statuses[(choice >> 2) & 7];
  exchange->statusText = u"Status";
  exchange->responseText = text;
  if (choice & 0x20) exchange->failures["responseText"] = resultFail;
  MultipartForm form;
  (void)form.addField(u"ExitProgramName", u"PGM");
  std::unique_ptr<ReplyDocument> reply;
  std::u16string errorText;
  bool released = form.post(u"http://127.0.0.1/rpc/quorlex/", u"", u"", reply, errorText,
                            test_support::fakeRequests(exchange));
  check(released == (exchange->status == 200));
  check(released == static_cast<bool>(reply));
  if (!released) {
    std::u16string expected = u"HTTP Request returned " + decimalText(exchange->status) + u" (Status) " +
                              ((choice & 0x20) ? std::u16string() : description);
    check(errorText == expected);
  }
  return 0;
}
