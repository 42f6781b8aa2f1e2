#include "tools/host/event_printer.h"

#include <nlohmann/json.hpp>

#include "common/text.h"

namespace quorlex::host {
namespace {

using Json = nlohmann::ordered_json;

std::string dump(const Json& line) { return line.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::string resultName(KfxReturnValue result) {
  switch (result) {
    case KFX_REL_SUCCESS: return "KFX_REL_SUCCESS";
    case KFX_REL_ERROR: return "KFX_REL_ERROR";
    case KFX_REL_UNSUPPORTED: return "KFX_REL_UNSUPPORTED";
  }
  return std::to_string(static_cast<int>(result));
}

}  // namespace

std::string eventLine(const HostEvent& event, EventFormat format) {
  std::string message = toUtf8(event.message);
  bool logError = event.kind == HostEvent::Kind::LogError;
  if (format == EventFormat::Json) {
    Json line;
    if (logError) {
      line["event"] = "logError";
      line["err1"] = event.err1;
      line["err2"] = event.err2;
      line["err3"] = event.err3;
      line["message"] = message;
      line["codeModule"] = toUtf8(event.codeModule);
      line["lineNumber"] = event.lineNumber;
    } else {
      line["event"] = "sendMessage";
      line["message"] = message;
      line["errorNumber"] = event.errorNumber;
      line["infoRet"] = event.infoRet;
    }
    return dump(line);
  }
  if (logError) {
    return "log      " + std::string(event.err1 > 0 ? "error " : "notice") + "  " + toUtf8(event.codeModule) + ":" +
           std::to_string(event.lineNumber) + "  " + message;
  }
  return "message  error " + std::to_string(event.errorNumber) + "  " + message;
}

std::string releasedLine(std::size_t document, KfxReturnValue result, EventFormat format) {
  if (format == EventFormat::Json) {
    Json line;
    line["event"] = "released";
    line["document"] = document;
    line["result"] = static_cast<int>(result);
    return dump(line);
  }
  return "document " + std::to_string(document) + ": " +
         (result == KFX_REL_SUCCESS ? std::string("released") : "not released (" + resultName(result) + ")");
}

}  // namespace quorlex::host
