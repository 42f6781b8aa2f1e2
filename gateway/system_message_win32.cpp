// The system message table, as FormatMessageW gives it (language neutral/default).
#include <windows.h>

#include <memory>

#include "gateway/system_message.h"

namespace quorlex {
namespace {

struct LocalMemoryFree {
  void operator()(wchar_t* text) const { LocalFree(text); }
};
using unique_local_text = std::unique_ptr<wchar_t, LocalMemoryFree>;

}  // namespace

std::optional<std::u16string> systemMessageText(ResultCode code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                    FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, static_cast<DWORD>(code), 0x0400, reinterpret_cast<LPWSTR>(&buffer), 0,
                                nullptr);
  unique_local_text owner(buffer);
  if (length == 0 || !owner) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(owner.get()), length);
}

}  // namespace quorlex
