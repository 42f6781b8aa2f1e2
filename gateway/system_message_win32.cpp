// The system message table, as FormatMessageW gives it (language neutral/default). WinHTTP's
// codes are not in it but in winhttp.dll's own table; where that has none (Wine), the
// transport's texts stand in.
#include <windows.h>

#include <memory>

#include "gateway/system_message.h"
#include "gateway/transport_messages.h"

namespace quorlex {
namespace {

struct LocalMemoryFree {
  void operator()(wchar_t* text) const { LocalFree(text); }
};
using unique_local_text = std::unique_ptr<wchar_t, LocalMemoryFree>;

// The text of the message in the system's table, or in the module's when one is given.
std::optional<std::u16string> messageText(HMODULE module, DWORD id) {
  wchar_t* buffer = nullptr;
  DWORD source = module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | source | FORMAT_MESSAGE_IGNORE_INSERTS, module, id,
                                0x0400, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  unique_local_text owner(buffer);
  if (length == 0 || !owner) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(owner.get()), length);
}

// WinHTTP's error numbers, lifted to result codes (facility 7).
constexpr DWORD firstWinHttpError = 12000;
constexpr DWORD lastWinHttpError = 12999;

}  // namespace

std::optional<std::u16string> systemMessageText(ResultCode code) {
  if (std::optional<std::u16string> text = messageText(nullptr, static_cast<DWORD>(code))) return text;
  DWORD error = static_cast<DWORD>(code) & 0xFFFF;
  if ((static_cast<DWORD>(code) & 0xFFFF0000) == 0x80070000 && error >= firstWinHttpError && error <= lastWinHttpError) {
    if (HMODULE winhttp = GetModuleHandleW(L"winhttp.dll")) {
      if (std::optional<std::u16string> text = messageText(winhttp, error)) return text;
    }
  }
  return transportMessageText(code);
}

}  // namespace quorlex
