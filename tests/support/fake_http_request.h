#pragma once
// A request object that records what post hands it and answers as told, for tests of the
// post and of the document release without a network.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gateway/http_request.h"

namespace quorlex::test_support {

struct FakeExchange {
  // How the request answers. failures maps an operation ("open", "send", "status",
  // "statusText", "responseText", "responseXML", or "setRequestHeader:N" for the N-th
  // header) to the code it reports.
  std::map<std::string, ResultCode> failures;
  bool createFails = false;
  std::int32_t status = 200;
  std::u16string statusText = u"OK";
  std::u16string responseText;
  std::function<void()> onSetRequestHeader;  // runs before each header is recorded

  // What it was handed.
  int requestsCreated = 0;
  std::vector<std::string> calls;
  std::u16string method, url, user, password;
  bool asynchronous = true;
  std::vector<std::pair<std::u16string, std::u16string>> headers;
  std::string body;
};

HttpRequestFactory fakeRequests(std::shared_ptr<FakeExchange> exchange);

}  // namespace quorlex::test_support
