#pragma once
// The component's lock count: one for every live object of the component and for every
// server lock a host holds. The component may be unloaded only while it is 0.

namespace quorlex {

void lockModule();
void unlockModule();
long moduleLockCount();

// Holds one lock for as long as it lives; every object the component hands out has one.
class ModuleReference {
 public:
  ModuleReference() { lockModule(); }
  ModuleReference(const ModuleReference&) { lockModule(); }
  ModuleReference& operator=(const ModuleReference&) = default;
  ~ModuleReference() { unlockModule(); }
};

}  // namespace quorlex
