#pragma once
// The journal of exit-program calls: one JSON object a line, appended as each post is taken.

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "tools/gateway/gateway_service.h"

namespace quorlex::gateway {

// {"time":...,"client":...,"program":...,"library":...,"delimiter":...,
//  "parameters":[{"name":...,"value":...}],"bodyBytes":N} and "strayBytesBefore" when the
// connection carried bytes before the request. Bytes that are not UTF-8 become U+FFFD.
std::string journalLine(const ExitProgramCall& call, const std::string& time);

// The present moment as UTC, e.g. 2024-05-01T12:00:00.123Z.
std::string utcTimestamp();

class Journal {
 public:
  // Opens the file for appending; false with the reason in error.
  bool open(const std::string& path, std::string& error);
  // Writes the line and flushes it; true without a file.
  bool append(const ExitProgramCall& call);

 private:
  struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::mutex lock_;
  std::unique_ptr<std::FILE, FileClose> file_;
};

}  // namespace quorlex::gateway
