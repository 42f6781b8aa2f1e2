#include "tools/gateway/gateway_service.h"

#include "common/ascii.h"
#include "common/text.h"
#include "tools/gateway/base64.h"

namespace quorlex::gateway {
namespace {

// Text from the client, made fit for the reply: valid UTF-8, no characters XML forbids,
// markup escaped.
std::string xmlText(std::string_view text) {
  std::string valid = toUtf8(fromUtf8(text));
  std::string escaped;
  escaped.reserve(valid.size());
  for (char c : valid) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
          escaped += '?';
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

bool expectsContinue(const RequestHead& head) {
  std::optional<std::string_view> expect = head.header("Expect");
  return expect && equalsIgnoringCase(*expect, "100-continue");
}

const FormPart* onlyField(const std::vector<FormPart>& parts, std::string_view name, bool& twice) {
  const FormPart* found = nullptr;
  for (const FormPart& part : parts) {
    if (part.name != name) continue;
    if (found) twice = true;
    found = &part;
  }
  return found;
}

std::string callSummary(const ExitProgramCall& call) {
  std::string program = call.library.empty() ? call.program : call.library + "/" + call.program;
  std::size_t count = call.parameters.size();
  return "Exit program " + program + " called with " + std::to_string(count) + (count == 1 ? " parameter" : " parameters");
}

}  // namespace

std::string replyDocument(int status, const std::optional<std::string>& description) {
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gatewayReply status=\"" + std::to_string(status) + "\"";
  if (!description) return document + "/>\n";
  return document + "><statusDescription id=\"statusDescription\">" + xmlText(*description) +
         "</statusDescription></gatewayReply>\n";
}

Response connectionRejection(int status, std::string_view description) {
  Response response;
  response.status = status;
  response.body = replyDocument(status, std::string(description));
  response.close = true;
  return response;
}

GatewayService::GatewayService(GatewayOptions options, std::function<bool(const ExitProgramCall&)> callExitProgram)
    : options_(std::move(options)), callExitProgram_(std::move(callExitProgram)) {}

Response GatewayService::answer(int status, std::string_view description) const {
  Response response;
  response.status = status;
  response.body = replyDocument(status, std::string(description));
  return response;
}

bool GatewayService::authorised(const RequestHead& head) const {
  if (!options_.credentials) return true;
  std::optional<std::string_view> authorization = head.header("Authorization");
  if (!authorization || head.headerCount("Authorization") != 1) return false;
  std::string_view value = trimmedBlanks(*authorization);
  std::size_t space = value.find(' ');
  if (space == std::string_view::npos || !equalsIgnoringCase(value.substr(0, space), "Basic")) return false;
  std::optional<std::string> decoded = decodeBase64(trimmedBlanks(value.substr(space + 1)));
  return decoded && *decoded == options_.credentials->user + ":" + options_.credentials->password;
}

HeadVerdict GatewayService::judgeHead(const RequestHead& head) const {
  HeadVerdict verdict;
  // Framing first: without a sure body length the connection cannot go on.
  if (head.header("Transfer-Encoding")) {
    verdict.rejection = connectionRejection(411, "The body must come with a Content-Length, not a Transfer-Encoding");
    return verdict;
  }
  std::optional<std::string_view> lengthText = head.header("Content-Length");
  std::optional<std::uint64_t> length = lengthText ? decimalNumber(*lengthText) : std::optional<std::uint64_t>(0);
  for (const auto& [name, value] : head.headers) {
    if (equalsIgnoringCase(name, "Content-Length") && value != *lengthText) length.reset();
  }
  if (!length) {
    verdict.rejection = connectionRejection(400, "The Content-Length is not valid");
    return verdict;
  }
  verdict.bodyLength = static_cast<std::size_t>(*length);
  bool tooLarge = *length > options_.maxBodyBytes;

  if (head.path() != servicePath) {
    verdict.rejection = answer(404, "There is no service at " + std::string(head.path()) + "; post to " +
                                        std::string(servicePath));
  } else if (head.method != "POST") {
    verdict.rejection = answer(405, "The method " + head.method + " is not allowed; post to " + std::string(servicePath));
    verdict.rejection->headers.emplace_back("Allow", "POST");
  } else if (!authorised(head)) {
    verdict.rejection = answer(401, head.header("Authorization") ? "The user name or password is not accepted"
                                                                 : "The gateway needs a user name and password");
    verdict.rejection->headers.emplace_back("WWW-Authenticate", "Basic realm=\"quorlex gateway\", charset=\"UTF-8\"");
  } else if (!lengthText) {
    verdict.rejection = connectionRejection(411, "The post must give a Content-Length");
  } else if (tooLarge) {
    verdict.rejection = connectionRejection(413, "The body of " + std::to_string(*length) +
                                                     " bytes is larger than the limit of " +
                                                     std::to_string(options_.maxBodyBytes) + " bytes");
  } else if (options_.failure) {
    verdict.rejection = Response{};
    verdict.rejection->status = options_.failure->status;
    verdict.rejection->body = options_.failure->body ? *options_.failure->body
                                                     : replyDocument(options_.failure->status, options_.failure->description);
  }
  // A body that is on its way is read and dropped, so that the connection stays usable; one
  // that waits for "100 Continue", or is too large, is not: the connection closes instead.
  if (verdict.rejection && (tooLarge || expectsContinue(head))) verdict.rejection->close = true;
  return verdict;
}

Response GatewayService::handleBody(const RequestHead& head, std::string_view body, const std::string& client) const {
  std::string error;
  std::optional<std::string> boundary = formBoundary(head.header("Content-Type").value_or(""), error);
  if (!boundary) return answer(400, "Malformed request: " + error);
  std::optional<std::vector<FormPart>> parts = parseFormData(body, *boundary, error);
  if (!parts) return answer(400, "Malformed multipart body: " + error);

  ExitProgramCall call;
  call.client = client;
  call.bodyBytes = body.size();
  call.strayBytes = head.strayBytes;
  bool twice = false;
  const FormPart* program = onlyField(*parts, "ExitProgramName", twice);
  const FormPart* library = onlyField(*parts, "ExitProgramLib", twice);
  const FormPart* delimiter = onlyField(*parts, "Delimiter", twice);
  if (twice) return answer(400, "ExitProgramName, ExitProgramLib or Delimiter is given more than once");
  if (!program) return answer(400, "The post names no exit program: ExitProgramName is missing");
  if (program->value.empty()) return answer(400, "The post names no exit program: ExitProgramName is empty");
  call.program = program->value;
  if (library) call.library = library->value;
  if (delimiter) call.delimiter = delimiter->value;
  for (FormPart& part : *parts) {
    if (&part != program && &part != library && &part != delimiter) call.parameters.push_back(std::move(part));
  }

  if (!callExitProgram_(call)) return answer(500, "The exit program could not be called: the journal cannot be written");
  return answer(200, callSummary(call));
}

}  // namespace quorlex::gateway
