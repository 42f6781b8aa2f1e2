#include "server/registry_entries.h"

namespace quorlex {
namespace {

constexpr std::u16string_view modulePlaceholder = u"%MODULE%";
constexpr std::u16string_view appIdPlaceholder = u"%APPID%";

using Action = RegistryStep::Action;

std::u16string join(std::u16string_view parent, std::u16string_view child) {
  std::u16string key(parent);
  key += u'\\';
  key += child;
  return key;
}

// The entries as listed, placeholders still in; written in this order.
struct Entry {
  Action action;
  std::u16string key;
  std::u16string_view valueName;
  std::u16string value;
};

RegistryScript resolve(const std::vector<Entry>& entries, std::u16string_view modulePath) {
  RegistryScript script;
  script.reserve(entries.size());
  for (const Entry& entry : entries) {
    script.push_back({entry.action, substitutePlaceholders(entry.key, modulePath), std::u16string(entry.valueName),
                      substitutePlaceholders(entry.value, modulePath)});
  }
  return script;
}

std::u16string appIdKey() { return join(u"AppID", appIdPlaceholder); }
std::u16string moduleAppIdKey() { return join(u"AppID", moduleFileName); }
std::u16string classKey(const ScriptClass& scriptClass) { return join(u"CLSID", scriptClass.classId); }

}  // namespace

std::u16string substitutePlaceholders(std::u16string_view text, std::u16string_view modulePath) {
  std::u16string result;
  result.reserve(text.size() + modulePath.size());
  std::size_t position = 0;
  while (position < text.size()) {
    std::u16string_view rest = text.substr(position);
    if (rest.starts_with(modulePlaceholder)) {
      result += modulePath;
      position += modulePlaceholder.size();
    } else if (rest.starts_with(appIdPlaceholder)) {
      result += applicationId;
      position += appIdPlaceholder.size();
    } else {
      result += text[position++];
    }
  }
  return result;
}

RegistryScript applicationIdRegistration() {
  return resolve({{Action::SetValue, appIdKey(), u"", std::u16string(applicationName)},
                  {Action::SetValue, moduleAppIdKey(), u"AppID", std::u16string(appIdPlaceholder)}},
                 u"");
}

RegistryScript applicationIdRemoval() {
  return resolve({{Action::RemoveKey, appIdKey(), u"", u""}, {Action::RemoveKey, moduleAppIdKey(), u"", u""}}, u"");
}

RegistryScript classRegistration(const ScriptClass& scriptClass, std::u16string_view modulePath) {
  const std::u16string progId(scriptClass.progId);
  const std::u16string classId(scriptClass.classId);
  const std::u16string key = classKey(scriptClass);
  // The class key and its Programmable subkey go first with all below them, so that no
  // stale entry of an earlier registration survives.
  return resolve(
      {
          {Action::SetValue, join(progId, u"CLSID"), u"", classId},
          {Action::RemoveTree, key, u"", u""},
          {Action::SetValue, key, u"", progId},
          {Action::SetValue, key, u"AppID", std::u16string(appIdPlaceholder)},
          {Action::SetValue, join(key, u"ProgID"), u"", progId},
          {Action::RemoveTree, join(key, u"Programmable"), u"", u""},
          {Action::CreateKey, join(key, u"Programmable"), u"", u""},
          {Action::SetValue, join(key, u"InprocServer32"), u"", std::u16string(modulePlaceholder)},
          {Action::SetValue, join(key, u"InprocServer32"), u"ThreadingModel", u"Both"},
          {Action::SetValue, join(key, u"TypeLib"), u"", std::u16string(typeLibraryId)},
      },
      modulePath);
}

RegistryScript classRemoval(const ScriptClass& scriptClass) {
  const std::u16string progId(scriptClass.progId);
  return resolve({{Action::RemoveKey, join(progId, u"CLSID"), u"", u""},
                  {Action::RemoveKey, progId, u"", u""},
                  {Action::RemoveTree, classKey(scriptClass), u"", u""}},
                 u"");
}

}  // namespace quorlex
