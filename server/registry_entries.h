#pragma once
// What registration writes under HKEY_CLASSES_ROOT and what unregistration removes, as
// ordered steps; the platform shell only carries them out.

#include <string>
#include <string_view>
#include <vector>

#include "server/class_table.h"

namespace quorlex {

struct RegistryStep {
  enum class Action {
    RemoveTree,  // the key with everything below it; absent is fine
    CreateKey,   // the key without a value
    SetValue,    // a text value, creating the key where needed
    RemoveKey,   // the key and its values unless other subkeys remain; absent is fine
  };
  Action action = Action::SetValue;
  std::u16string key;        // below HKEY_CLASSES_ROOT
  std::u16string valueName;  // empty for the key's default value
  std::u16string value;
  bool operator==(const RegistryStep&) const = default;
};

using RegistryScript = std::vector<RegistryStep>;

RegistryScript applicationIdRegistration();
RegistryScript applicationIdRemoval();
// modulePath is the full path of the component's file (the %MODULE% of InprocServer32).
RegistryScript classRegistration(const ScriptClass& scriptClass, std::u16string_view modulePath);
RegistryScript classRemoval(const ScriptClass& scriptClass);

// Puts the module path for %MODULE% and the AppID for %APPID%, in one pass, so that a
// path holding either token is kept as it is.
std::u16string substitutePlaceholders(std::u16string_view text, std::u16string_view modulePath);

}  // namespace quorlex
