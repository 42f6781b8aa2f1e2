#include "tests/support/failing_allocation.h"

#include <cstdlib>
#include <new>

namespace {

// Allocations still to succeed before failures begin (negative: none fails), how many fail
// in a row from there, and whether one did. Per thread, so that only the torture's own
// thread is affected.
thread_local long long allocationsBeforeFailure = -1;
thread_local long long failuresInARow = 1;
thread_local long long failuresLeft = 0;
thread_local bool allocationFailed = false;

void* allocate(std::size_t size) noexcept {
  if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) failuresLeft = failuresInARow;
  if (failuresLeft > 0) {
    --failuresLeft;
    allocationFailed = true;
    return nullptr;
  }
  return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size) {
  if (void* memory = allocate(size)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace quorlex::test_support {

bool withAllocationFailing(long long n, long long inARow, const std::function<void()>& body) {
  allocationFailed = false;
  failuresInARow = inARow;
  allocationsBeforeFailure = n;
  body();
  allocationsBeforeFailure = -1;
  failuresLeft = 0;
  return allocationFailed;
}

}  // namespace quorlex::test_support
