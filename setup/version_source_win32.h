#pragma once
// The General page's version line from the fixed version block of the component's own
// file, not the host's.

#include <windows.h>

#include "setup/version_text.h"

namespace quorlex {

class ModuleVersionSource final : public IVersionSource {
 public:
  explicit ModuleVersionSource(HMODULE module) : module_(module) {}
  std::optional<FixedVersionBlock> fixedVersionBlock() override;

 private:
  HMODULE module_;
};

}  // namespace quorlex
