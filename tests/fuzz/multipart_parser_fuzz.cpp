// The emulator's multipart reader. Even first byte: the rest is a Content-Type line and a
// body, any bytes; what it accepts must read the same once written out plainly again. Odd:
// the rest picks fields that the connector's own form writes, and the reader must give them
// back exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "gateway/multipart_form.h"
#include "tests/support/fake_http_request.h"
#include "tools/gateway/multipart_parser.h"

namespace {

using namespace quorlex;
using namespace quorlex::gateway;

void check(bool condition) {
  if (!condition) std::abort();
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

void readAnyBody(std::string_view input) {
  std::size_t lineEnd = input.find('\n');
  if (lineEnd == std::string_view::npos) return;
  std::string error;
  std::optional<std::string> boundary = formBoundary(input.substr(0, lineEnd), error);
  if (!boundary) {
    check(!error.empty());
    return;
  }
  check(!boundary->empty() && boundary->size() <= 70);
  std::optional<std::vector<FormPart>> parts = parseFormData(input.substr(lineEnd + 1), *boundary, error);
  if (!parts) {
    check(!error.empty());
    return;
  }
  std::string plain;
  for (const FormPart& part : *parts) {
    plain += "--" + *boundary + "\r\nContent-Disposition: form-data; name=" + quoted(part.name) + "\r\n\r\n" +
             part.value + "\r\n";
  }
  plain += "--" + *boundary + "--";
  std::optional<std::vector<FormPart>> again = parseFormData(plain, *boundary, error);
  check(again && *again == *parts);
}

constexpr std::array<std::u16string_view, 6> fieldNames{u"ExitProgramName", u"ExitProgramLib", u"Delimiter",
                                                        u"PARM1",           u"PARM2",          u"PARM20"};

void readOwnForm(FuzzedDataProvider& input) {
  MultipartForm form;
  std::vector<FormPart> expected;
  const std::string delimiter = "\r\n--" + toUtf8(MultipartForm::fixedBoundary);
  bool readable = true;
  while (input.remaining_bytes() > 0 && expected.size() < 64) {
    std::u16string_view name = fieldNames[input.ConsumeIntegralInRange<std::size_t>(0, fieldNames.size() - 1)];
    std::string bytes = input.ConsumeRandomLengthString(4096);
    std::u16string value(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < value.size(); ++i) {
      value[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    check(form.addField(name, value));
    expected.push_back({toUtf8(name), toUtf8(value)});
    // The boundary is fixed and never compared with the values: a value that carries the
    // delimiter cuts its part short, for this reader as for the gateway.
    readable = readable && expected.back().value.find(delimiter) == std::string::npos;
  }
  auto exchange = std::make_shared<test_support::FakeExchange>();
  std::unique_ptr<ReplyDocument> reply;
  std::u16string errorText;
  check(form.post(u"http://127.0.0.1/rpc/quorlex/", u"", u"", reply, errorText, test_support::fakeRequests(exchange)));
  std::string contentType;
  for (const auto& [name, value] : exchange->headers) {
    if (name == u"Content-type") contentType = toUtf8(value);
  }
  std::string error;
  std::optional<std::string> boundary = formBoundary(contentType, error);
  check(boundary.has_value());
  std::optional<std::vector<FormPart>> parts = parseFormData(exchange->body, *boundary, error);
  if (readable) check(parts && *parts == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    readAnyBody(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  } else {
    FuzzedDataProvider input(data + 1, size - 1);
    readOwnForm(input);
  }
  return 0;
}
