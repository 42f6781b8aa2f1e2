#pragma once
// Reading the document's settings and values from the host for a release.

#include <new>

#include "common/result_code.h"

namespace quorlex {

// Whether a host read succeeded. A read that failed because memory ran out, in the host or in
// the adapter between, is no missing value: taking it for one would post the document with a
// setting or parameter left out, and a gateway answering 200 would count it released. It
// throws std::bad_alloc instead, which ends the release unposted.
inline bool hostRead(ResultCode code) {
  if (code == resultOutOfMemory) throw std::bad_alloc();
  return hostSucceeded(code);
}

}  // namespace quorlex
