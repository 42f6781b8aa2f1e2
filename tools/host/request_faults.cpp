#include "tools/host/request_faults.h"

#include <array>
#include <charconv>
#include <map>

namespace quorlex::host {
namespace {

constexpr std::array<std::string_view, 8> operations{"create",     "open",         "setRequestHeader", "send",
                                                     "status",     "statusText",   "responseText",     "responseXML"};

class FaultyRequest final : public HttpRequest {
 public:
  FaultyRequest(std::unique_ptr<HttpRequest> inner, RequestFault fault)
      : inner_(std::move(inner)), fault_(std::move(fault)) {}

  ResultCode open(std::u16string_view method, std::u16string_view url, bool asynchronous, std::u16string_view user,
                  std::u16string_view password) override {
    if (hit("open")) return fault_.code;
    return inner_->open(method, url, asynchronous, user, password);
  }
  ResultCode setRequestHeader(std::u16string_view name, std::u16string_view value) override {
    if (hit("setRequestHeader")) return fault_.code;
    return inner_->setRequestHeader(name, value);
  }
  ResultCode send(std::span<const std::uint8_t> body) override {
    if (hit("send")) return fault_.code;
    return inner_->send(body);
  }
  ResultCode status(std::int32_t& out) override { return hit("status") ? fault_.code : inner_->status(out); }
  ResultCode statusText(std::u16string& out) override {
    return hit("statusText") ? fault_.code : inner_->statusText(out);
  }
  ResultCode responseText(std::u16string& out) override {
    return hit("responseText") ? fault_.code : inner_->responseText(out);
  }
  ResultCode responseXML(std::unique_ptr<ReplyDocument>& out) override {
    return hit("responseXML") ? fault_.code : inner_->responseXML(out);
  }

 private:
  bool hit(std::string_view operation) {
    if (operation != fault_.operation) return false;
    int call = ++calls_[std::string(operation)];
    return fault_.onCall == 0 || fault_.onCall == call;
  }

  std::unique_ptr<HttpRequest> inner_;
  RequestFault fault_;
  std::map<std::string, int> calls_;
};

}  // namespace

std::optional<RequestFault> parseRequestFault(std::string_view text, std::string& error) {
  RequestFault fault;
  std::size_t equals = text.find('=');
  std::string_view target = text.substr(0, equals);
  std::size_t hash = target.find('#');
  fault.operation = std::string(target.substr(0, hash));
  bool known = false;
  for (std::string_view operation : operations) known = known || operation == fault.operation;
  if (!known) {
    error = "unknown operation \"" + fault.operation + "\"";
    return std::nullopt;
  }
  if (hash != std::string_view::npos) {
    std::string_view number = target.substr(hash + 1);
    auto [end, failure] = std::from_chars(number.data(), number.data() + number.size(), fault.onCall);
    if (failure != std::errc() || end != number.data() + number.size() || fault.onCall < 1) {
      error = "the call number after # must be 1 or more";
      return std::nullopt;
    }
  }
  if (equals != std::string_view::npos) {
    std::string_view code = text.substr(equals + 1);
    if (code.starts_with("0x") || code.starts_with("0X")) code.remove_prefix(2);
    std::uint32_t value = 0;
    auto [end, failure] = std::from_chars(code.data(), code.data() + code.size(), value, 16);
    if (code.empty() || failure != std::errc() || end != code.data() + code.size()) {
      error = "the code after = must be hexadecimal, e.g. 0x80004005";
      return std::nullopt;
    }
    fault.code = static_cast<ResultCode>(value);
  }
  return fault;
}

HttpRequestFactory faultyRequests(HttpRequestFactory inner, RequestFault fault) {
  return [inner = std::move(inner), fault = std::move(fault)]() -> std::unique_ptr<HttpRequest> {
    if (fault.operation == "create") return nullptr;
    std::unique_ptr<HttpRequest> request = inner();
    if (!request) return nullptr;
    return std::make_unique<FaultyRequest>(std::move(request), fault);
  };
}

}  // namespace quorlex::host
