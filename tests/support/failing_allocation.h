#pragma once
// The global operator new of a torture test program, made to fail on demand. Only the
// allocations of the thread that asked are counted and failed: a peer serving on another
// thread (a loopback server) allocates as usual. Link failing_allocation.cpp into the test
// program itself, never into a library, so that its operators replace the runtime's.

#include <functional>
#include <limits>

namespace quorlex::test_support {

// Every allocation from the n-th on, as when memory is gone.
inline constexpr long long everyLaterAllocation = std::numeric_limits<long long>::max();

// Runs body with the calling thread's allocation number n (0-based, counted from the start of
// body) failing, and inARow - 1 more after it; true when an allocation did fail (so the next
// n may fail too), false when body needed fewer than n + 1.
bool withAllocationFailing(long long n, long long inARow, const std::function<void()>& body);

}  // namespace quorlex::test_support
