#include "tests/support/fake_http_request.h"

namespace quorlex::test_support {
namespace {

class FakeReplyDocument final : public ReplyDocument {};

class FakeHttpRequest final : public HttpRequest {
 public:
  explicit FakeHttpRequest(std::shared_ptr<FakeExchange> exchange) : exchange_(std::move(exchange)) {}

  ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous, std::u16string_view user,
                  std::u16string_view password) override {
    exchange_->method = method;
    exchange_->url = url;
    exchange_->asynchronous = asynchronous;
    exchange_->user = user;
    exchange_->password = password;
    return answer("open");
  }

  ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) override {
    if (exchange_->onSetRequestHeader) exchange_->onSetRequestHeader();
    ++headerCalls_;
    exchange_->headers.emplace_back(name, value);
    return answer("setRequestHeader:" + std::to_string(headerCalls_));
  }

  ResultCode send(std::span<const std::uint8_t> body) override {
    exchange_->body.assign(body.begin(), body.end());
    return answer("send");
  }

  ResultCode status(std::int32_t& out) override { return read("status", exchange_->status, out); }
  ResultCode statusText(std::u16string& out) override { return read("statusText", exchange_->statusText, out); }
  ResultCode responseText(std::u16string& out) override { return read("responseText", exchange_->responseText, out); }

  ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) override {
    ResultCode code = answer("responseXML");
    if (!failed(code)) out = std::make_unique<FakeReplyDocument>();
    return code;
  }

 private:
  ResultCode answer(const std::string& operation) {
    exchange_->calls.push_back(operation);
    auto found = exchange_->failures.find(operation);
    return found == exchange_->failures.end() ? resultOk : found->second;
  }

  template <typename T>
  ResultCode read(const std::string& operation, const T& value, T& out) {
    ResultCode code = answer(operation);
    if (!failed(code)) out = value;
    return code;
  }

  std::shared_ptr<FakeExchange> exchange_;
  int headerCalls_ = 0;
};

}  // namespace

HttpRequestFactory fakeRequests(std::shared_ptr<FakeExchange> exchange) {
  return [exchange]() -> std::unique_ptr<HttpRequest> {
    ++exchange->requestsCreated;
    if (exchange->createFails) return nullptr;
    return std::make_unique<FakeHttpRequest>(exchange);
  };
}

}  // namespace quorlex::test_support
