#pragma once
// The reference host's account of a release, one line per event: what the connector wrote to
// the host's log, what it sent to the release module, and each document's result.

#include <cstddef>
#include <string>

#include "testhost/memory_host.h"

namespace quorlex::host {

enum class EventFormat { Text, Json };

// --json: {"event":"logError","err1":0,"err2":0,"err3":0,"message":...,"codeModule":...,
// "lineNumber":250} or {"event":"sendMessage","message":...,"errorNumber":1,"infoRet":1}.
std::string eventLine(const HostEvent& event, EventFormat format);
// --json: {"event":"released","document":1,"result":0}, the result being the KfxReturnValue.
std::string releasedLine(std::size_t document, KfxReturnValue result, EventFormat format);

}  // namespace quorlex::host
