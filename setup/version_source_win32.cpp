#include "setup/version_source_win32.h"

#include <vector>

namespace quorlex {

std::optional<FixedVersionBlock> ModuleVersionSource::fixedVersionBlock() {
  wchar_t path[520];
  DWORD length = GetModuleFileNameW(module_, path, static_cast<DWORD>(std::size(path)));
  if (length == 0 || length >= std::size(path)) return std::nullopt;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return std::nullopt;
  std::vector<std::byte> resource(size);
  if (!GetFileVersionInfoW(path, 0, size, resource.data())) return std::nullopt;
  void* root = nullptr;
  UINT rootSize = 0;
  if (!VerQueryValueW(resource.data(), L"\\", &root, &rootSize) || !root || rootSize < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(root);
  return FixedVersionBlock{fixed->dwSignature, fixed->dwProductVersionMS, fixed->dwProductVersionLS};
}

}  // namespace quorlex
