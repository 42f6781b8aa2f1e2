#pragma once
// The component's own activation context, from its common-controls 6 manifest (resource 2),
// active for the life of one owner. Windows created meanwhile are themed, and
// "comctl32.dll" resolves to version 6, whatever manifest the host process has. Without the
// manifest the owner activates nothing and the old controls are used.

#include <windows.h>

namespace quorlex {

inline constexpr WORD componentManifestId = 2;  // ISOLATIONAWARE_MANIFEST_RESOURCE_ID

class ComponentActivationContext {
 public:
  explicit ComponentActivationContext(HMODULE module);
  ComponentActivationContext(const ComponentActivationContext&) = delete;
  ComponentActivationContext& operator=(const ComponentActivationContext&) = delete;
  ~ComponentActivationContext();

  bool active() const { return cookie_ != 0; }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

}  // namespace quorlex
