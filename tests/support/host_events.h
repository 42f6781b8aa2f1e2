#pragma once
// The host events the release engine's messages give, as the in-memory host records them.

#include <cstdint>
#include <string>

#include "testhost/memory_host.h"

namespace quorlex::test_support {

inline HostEvent loggedEvent(std::int32_t level, std::int32_t line, std::u16string message) {
  HostEvent event;
  event.kind = HostEvent::Kind::LogError;
  event.err1 = level;
  event.lineNumber = line;
  event.codeModule = u".\\releaseScript";
  event.message = std::move(message);
  return event;
}

inline HostEvent sentEvent(std::u16string message) {
  HostEvent event;
  event.kind = HostEvent::Kind::SendMessage;
  event.message = std::move(message);
  event.errorNumber = 1;
  event.infoRet = KFX_REL_DOC_ERROR;
  return event;
}

}  // namespace quorlex::test_support
