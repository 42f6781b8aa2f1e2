#include <windows.h>

#include "common/result_code.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "gateway/describe_result.h"
#include "tools/host/file_replacement.h"

namespace quorlex::host {
namespace {

std::string systemError(const std::string& what) {
  return what + ": " + toUtf8(describeResult(fromPlatformError(GetLastError())));
}

bool writeAll(HANDLE file, std::string_view text) {
  while (!text.empty()) {
    DWORD chunk = text.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(text.size());
    DWORD written = 0;
    if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) return false;
    text.remove_prefix(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> replaceFile(const std::filesystem::path& target, std::string_view text) {
  std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  wchar_t temporary[MAX_PATH];
  if (GetTempFileNameW(folder.c_str(), L"qx", 0, temporary) == 0) {
    return systemError("cannot create a temporary file in " + folder.string());
  }
  std::optional<std::string> failure;
  {
    unique_handle file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      failure = systemError("cannot write the temporary file");
    } else if (!writeAll(file.get(), text)) {
      failure = systemError("cannot write the temporary file");
    } else if (!FlushFileBuffers(file.get())) {
      failure = systemError("cannot flush the temporary file");
    }
  }
  if (!failure && !MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    failure = systemError("cannot replace the file");
  }
  if (failure) (void)DeleteFileW(temporary);
  return failure;
}

}  // namespace quorlex::host
