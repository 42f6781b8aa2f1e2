#include "testhost/host_faults.h"

#include <new>

namespace quorlex {

namespace {

std::size_t indexOf(HostOperation operation) { return static_cast<std::size_t>(operation); }

}  // namespace

void HostFaults::fail(HostOperation operation, ResultCode code, int onCall) {
  faults_[indexOf(operation)] = Fault{true, code, onCall, false};
}

void HostFaults::throwOn(HostOperation operation, int onCall) {
  faults_[indexOf(operation)] = Fault{true, resultOk, onCall, true};
}

void HostFaults::clear() {
  faults_.fill(Fault{});
  calls_.fill(0);
}

ResultCode HostFaults::check(HostOperation operation) {
  int call = ++calls_[indexOf(operation)];
  const Fault& fault = faults_[indexOf(operation)];
  if (!fault.set) return resultOk;
  if (fault.onCall != 0 && fault.onCall != call) return resultOk;
  if (fault.throws) throw std::bad_alloc();
  return fault.code;
}

int HostFaults::calls(HostOperation operation) const { return calls_[indexOf(operation)]; }

}  // namespace quorlex
