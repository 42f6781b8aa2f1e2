// The emulator's reading of a connection, any bytes: request heads, the verdict on each head,
// the multipart body, the journal line of each call and the reply, request after request as
// a kept-alive connection carries them. The first byte picks the options.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "common/text.h"
#include "gateway/reply_reader.h"
#include "tools/gateway/gateway_service.h"
#include "tools/gateway/http_message.h"
#include "tools/gateway/journal.h"

namespace {

using namespace quorlex;
using namespace quorlex::gateway;

void check(bool condition) {
  if (!condition) std::abort();
}

// Every reply carries its reason in the element the connector reads.
void checkReply(const Response& response) {
  std::string text = serializeResponse(response);
  check(text.starts_with("HTTP/1.1 " + std::to_string(response.status) + " "));
  check(text.ends_with(response.body));
  check(!readStatusDescription(fromUtf8(response.body)).empty());
}

bool recordCall(const ExitProgramCall& call) {
  check(!call.program.empty());
  // A line the journal's readers can parse, with every parameter in order.
  nlohmann::json line = nlohmann::json::parse(journalLine(call, "2024-01-01T00:00:00.000Z"));
  check(line["parameters"].size() == call.parameters.size());
  check(line["bodyBytes"] == call.bodyBytes);
  for (std::size_t i = 0; i < call.parameters.size(); ++i) {
    const std::string& value = call.parameters[i].value;
    if (toUtf8(fromUtf8(value)) == value) check(line["parameters"][i]["value"] == value);
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  GatewayOptions options;
  if (data[0] & 1) options.credentials = Credentials{"user", "secret"};
  if (data[0] & 2) options.maxBodyBytes = 64;
  GatewayService service(options, recordCall);
  std::string_view connection(reinterpret_cast<const char*>(data + 1), size - 1);

  for (int request = 0; request < 16; ++request) {
    RequestHead head;
    std::size_t headLength = 0;
    HeadStatus status = parseRequestHead(connection, head, headLength);
    if (status != HeadStatus::Complete) {
      check(status != HeadStatus::Incomplete || connection.size() <= 2 * maxHeadBytes);
      return 0;
    }
    check(headLength <= connection.size() && headLength <= head.strayBytes + maxHeadBytes);
    check(!head.method.empty() && !head.target.empty());
    connection.remove_prefix(headLength);

    HeadVerdict verdict = service.judgeHead(head);
    Response response;
    if (verdict.rejection) {
      response = *verdict.rejection;
      check(response.status != 200);
    } else {
      check(verdict.bodyLength <= options.maxBodyBytes);
      if (verdict.bodyLength > connection.size()) return 0;  // the body never arrives
      response = service.handleBody(head, connection.substr(0, verdict.bodyLength), "127.0.0.1:1");
    }
    if (!(verdict.rejection && options.failure)) checkReply(response);
    if (response.close || !head.keepAlive() || verdict.bodyLength > connection.size()) return 0;
    connection.remove_prefix(verdict.bodyLength);
  }
  return 0;
}
