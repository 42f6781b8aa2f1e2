#pragma once
// What the emulated gateway does with one request: the checks a real gateway makes before it
// calls the exit program, the call itself (a journal entry), and the XML reply. Decided in
// two steps, from the head and then from the body, so that a rejected body need not be read.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/gateway/http_message.h"
#include "tools/gateway/multipart_parser.h"

namespace quorlex::gateway {

inline constexpr std::string_view servicePath = "/rpc/quorlex/";

struct Credentials {
  std::string user;
  std::string password;
};

// --fail: every post is rejected with this status, and the description (or, when a body is
// given, that body as it stands).
struct ForcedFailure {
  int status = 500;
  std::optional<std::string> description;
  std::optional<std::string> body;
};

struct GatewayOptions {
  std::optional<Credentials> credentials;
  std::optional<ForcedFailure> failure;
  std::size_t maxBodyBytes = 16 * 1024 * 1024;
};

// One call of the exit program, as the journal keeps it.
struct ExitProgramCall {
  std::string client;
  std::string program;
  std::string library;
  std::string delimiter;
  std::vector<FormPart> parameters;
  std::size_t bodyBytes = 0;
  std::size_t strayBytes = 0;
};

struct HeadVerdict {
  std::size_t bodyLength = 0;
  // When set, the answer; the body is then read and dropped first unless the answer closes
  // the connection.
  std::optional<Response> rejection;
};

class GatewayService {
 public:
  // callExitProgram records one call; false when it could not.
  GatewayService(GatewayOptions options, std::function<bool(const ExitProgramCall&)> callExitProgram);

  HeadVerdict judgeHead(const RequestHead& head) const;
  Response handleBody(const RequestHead& head, std::string_view body, const std::string& client) const;

 private:
  Response answer(int status, std::string_view description) const;
  bool authorised(const RequestHead& head) const;

  GatewayOptions options_;
  std::function<bool(const ExitProgramCall&)> callExitProgram_;
};

// The gateway's XML reply; without a description it carries no statusDescription element.
std::string replyDocument(int status, const std::optional<std::string>& description);

// A reply to a request that could not even be read (malformed head, time-out, overload).
Response connectionRejection(int status, std::string_view description);

}  // namespace quorlex::gateway
