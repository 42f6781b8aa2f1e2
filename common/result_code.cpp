#include "common/result_code.h"

#include <cstdio>

#include "common/text.h"

namespace quorlex {

std::u16string formatCode(ResultCode code) {
  char buffer[11];
  std::snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(static_cast<std::uint32_t>(code)));
  return fromAscii(buffer);
}

}  // namespace quorlex
