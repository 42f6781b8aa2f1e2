#include "server/host_faults.h"

#include <new>

namespace quorlex {

void HostFaults::fail(HostOperation operation, ResultCode code, int onCall) {
  faults_[operation] = Fault{code, onCall, false};
}

void HostFaults::throwOn(HostOperation operation, int onCall) {
  faults_[operation] = Fault{resultOk, onCall, true};
}

void HostFaults::clear() {
  faults_.clear();
  calls_.clear();
}

ResultCode HostFaults::check(HostOperation operation) {
  int call = ++calls_[operation];
  auto found = faults_.find(operation);
  if (found == faults_.end()) return resultOk;
  const Fault& fault = found->second;
  if (fault.onCall != 0 && fault.onCall != call) return resultOk;
  if (fault.throws) throw std::bad_alloc();
  return fault.code;
}

int HostFaults::calls(HostOperation operation) const {
  auto found = calls_.find(operation);
  return found == calls_.end() ? 0 : found->second;
}

}  // namespace quorlex
