// quorlex-process-objects IMAGE: prints "handles N windows M" for the one running process
// whose image is IMAGE, for the soak check to sample from outside. Wine answers 0 to
// GetProcessHandleCount and GetGuiResources, so the handles are counted in the system's
// handle list and the windows by probing the window handle slots; a GDI object cannot be
// seen from another process there, and is not counted.
#include <windows.h>
#include <winternl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace {

using quorlex::unique_handle;

// Exit status 2 when no process, or more than one, has the image: a sample must be of one.
std::optional<DWORD> processOfImage(const std::wstring& image) {
  unique_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return std::nullopt;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  std::vector<DWORD> found;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (lstrcmpiW(entry.szExeFile, image.c_str()) == 0) found.push_back(entry.th32ProcessID);
  }
  if (found.size() != 1) return std::nullopt;
  return found.front();
}

std::optional<unsigned long> handleCount(DWORD process) {
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    ULONG needed = 0;
    NTSTATUS status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(),
                                               static_cast<ULONG>(buffer.size()), &needed);
    if (status == static_cast<NTSTATUS>(0xC0000004L) && buffer.size() < (1u << 28)) {  // STATUS_INFO_LENGTH_MISMATCH
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != 0) return std::nullopt;
    break;
  }
  const auto* list = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
  unsigned long count = 0;
  for (ULONG i = 0; i < list->Count; ++i) count += list->Handle[i].OwnerPid == process;
  return count;
}

// Window handles are global; Wine takes a handle with a zero upper word as its slot's
// current window, whatever the slot's generation.
unsigned long windowCount(DWORD process) {
  unsigned long count = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) {
    HWND window = reinterpret_cast<HWND>(slot);
    DWORD owner = 0;
    count += IsWindow(window) && GetWindowThreadProcessId(window, &owner) != 0 && owner == process;
  }
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: quorlex-process-objects IMAGE\n", stderr);
    return 2;
  }
  std::optional<DWORD> process = processOfImage(argv[1]);
  if (!process) {
    std::fprintf(stderr, "quorlex-process-objects: not exactly one process runs %ls\n", argv[1]);
    return 2;
  }
  std::optional<unsigned long> handles = handleCount(*process);
  if (!handles) {
    std::fputs("quorlex-process-objects: the system's handle list cannot be read\n", stderr);
    return 1;
  }
  std::printf("handles %lu windows %lu\n", *handles, windowCount(*process));
  return 0;
}
