#include "server/module_lock.h"

#include <atomic>

namespace quorlex {
namespace {

std::atomic<long> lockCount{0};

}  // namespace

void lockModule() { lockCount.fetch_add(1, std::memory_order_relaxed); }
void unlockModule() { lockCount.fetch_sub(1, std::memory_order_release); }
long moduleLockCount() { return lockCount.load(std::memory_order_acquire); }

}  // namespace quorlex
