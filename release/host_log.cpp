#include "release/host_log.h"

#include <mutex>
#include <string>

#include "common/text.h"

namespace quorlex {
namespace {

// Shared by every release-script object of the process; guarded so that objects driven
// from several threads cannot tear it.
struct LoggingTarget {
  std::mutex lock;
  std::shared_ptr<IReleaseData> target;
};

LoggingTarget& processTarget() {
  static LoggingTarget instance;
  return instance;
}

}  // namespace

void setLoggingTarget(std::shared_ptr<IReleaseData> target) {
  auto& shared = processTarget();
  std::lock_guard guard(shared.lock);
  shared.target = std::move(target);
}

void clearLoggingTarget() { setLoggingTarget(nullptr); }

std::shared_ptr<IReleaseData> loggingTarget() {
  auto& shared = processTarget();
  std::lock_guard guard(shared.lock);
  return shared.target;
}

void logToHost(std::int32_t line, std::int32_t level, std::u16string_view text) noexcept {
  // Log results are not looked at, and a log entry that cannot be written (no memory, a host
  // adapter that throws) must not change what the caller decided about the document.
  try {
    // Call the host outside the lock: it may call back into the script.
    std::shared_ptr<IReleaseData> target = loggingTarget();
    if (!target) return;
    std::u16string message(truncateUtf16(text, maxLogMessageUnits));
    (void)target->logError(level, 0, 0, message, std::u16string(codeModuleName), line);
    if (level > 0) (void)target->sendMessage(message, level, KFX_REL_DOC_ERROR);
  } catch (...) {
  }
}

}  // namespace quorlex
