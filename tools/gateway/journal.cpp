#include "tools/gateway/journal.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

namespace quorlex::gateway {

std::string journalLine(const ExitProgramCall& call, const std::string& time) {
  nlohmann::ordered_json line;
  line["time"] = time;
  line["client"] = call.client;
  line["program"] = call.program;
  line["library"] = call.library;
  line["delimiter"] = call.delimiter;
  line["parameters"] = nlohmann::ordered_json::array();
  for (const FormPart& parameter : call.parameters) {
    line["parameters"].push_back({{"name", parameter.name}, {"value", parameter.value}});
  }
  line["bodyBytes"] = call.bodyBytes;
  if (call.strayBytes > 0) line["strayBytesBefore"] = call.strayBytes;
  return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string utcTimestamp() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  char text[96];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, static_cast<int>(milliseconds));
  return text;
}

bool Journal::open(const std::string& path, std::string& error) {
  file_.reset(std::fopen(path.c_str(), "a"));
  if (!file_) error = std::strerror(errno);
  return file_ != nullptr;
}

bool Journal::append(const ExitProgramCall& call) {
  std::lock_guard guard(lock_);
  if (!file_) return true;
  std::string line = journalLine(call, utcTimestamp()) + "\n";
  return std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() && std::fflush(file_.get()) == 0;
}

}  // namespace quorlex::gateway
