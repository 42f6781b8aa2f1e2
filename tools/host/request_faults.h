#pragma once
// Fault injection for the reference host's requests, so that every failure text of the post
// can be seen against a real gateway. Set by the environment variable
// QUORLEX_REQUEST_FAULT=OPERATION[#N][=CODE]: OPERATION is create, open, setRequestHeader,
// send, status, statusText, responseText or responseXML; N picks the N-th call of it within
// one request (every call without it); CODE is the result code it reports (0x80004005
// without it). "create" makes the factory give no request at all.

#include <optional>
#include <string>
#include <string_view>

#include "common/result_code.h"
#include "gateway/http_request.h"

namespace quorlex::host {

inline constexpr const char* requestFaultVariable = "QUORLEX_REQUEST_FAULT";

struct RequestFault {
  std::string operation;
  int onCall = 0;
  ResultCode code = resultFail;
};

// None, with the reason in error, for a text that names no fault.
std::optional<RequestFault> parseRequestFault(std::string_view text, std::string& error);

// Requests of the inner factory, with the fault injected.
HttpRequestFactory faultyRequests(HttpRequestFactory inner, RequestFault fault);

}  // namespace quorlex::host
