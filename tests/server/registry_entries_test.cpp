#include "server/registry_entries.h"

#include <gtest/gtest.h>

#include <ostream>

#include "common/text.h"

namespace quorlex {

void PrintTo(const RegistryStep& step, std::ostream* out) {
  static constexpr const char* actions[] = {"RemoveTree", "CreateKey", "SetValue", "RemoveKey"};
  *out << actions[static_cast<int>(step.action)] << " " << toUtf8(step.key) << " [" << toUtf8(step.valueName)
       << "] = \"" << toUtf8(step.value) << "\"";
}

namespace {

using Action = RegistryStep::Action;
constexpr std::u16string_view modulePath = u"C:\\Program Files\\quorlex\\quorlex.dll";

TEST(RegistryEntries, ApplicationIdEntries) {
  EXPECT_EQ(applicationIdRegistration(),
            (RegistryScript{
                {Action::SetValue, u"AppID\\{EE0D74DB-D178-4352-9CEE-31B29287A6DC}", u"", u"quorlex"},
                {Action::SetValue, u"AppID\\quorlex.DLL", u"AppID", u"{EE0D74DB-D178-4352-9CEE-31B29287A6DC}"},
            }));
  EXPECT_EQ(applicationIdRemoval(), (RegistryScript{
                                        {Action::RemoveKey, u"AppID\\{EE0D74DB-D178-4352-9CEE-31B29287A6DC}", u"", u""},
                                        {Action::RemoveKey, u"AppID\\quorlex.DLL", u"", u""},
                                    }));
}

// The class key is cleared before anything is written below it, so re-registration
// leaves no stale subkey; the ProgID key holds only its CLSID subkey.
TEST(RegistryEntries, ReleaseScriptClassEntries) {
  const std::u16string key = u"CLSID\\{741DD025-7592-4713-A316-E86A5C56844C}";
  EXPECT_EQ(classRegistration(classTable[releaseScriptClass], modulePath),
            (RegistryScript{
                {Action::SetValue, u"quorlex.QuorlexExportConnector\\CLSID", u"",
                 u"{741DD025-7592-4713-A316-E86A5C56844C}"},
                {Action::RemoveTree, key, u"", u""},
                {Action::SetValue, key, u"", u"quorlex.QuorlexExportConnector"},
                {Action::SetValue, key, u"AppID", u"{EE0D74DB-D178-4352-9CEE-31B29287A6DC}"},
                {Action::SetValue, key + u"\\ProgID", u"", u"quorlex.QuorlexExportConnector"},
                {Action::RemoveTree, key + u"\\Programmable", u"", u""},
                {Action::CreateKey, key + u"\\Programmable", u"", u""},
                {Action::SetValue, key + u"\\InprocServer32", u"", std::u16string(modulePath)},
                {Action::SetValue, key + u"\\InprocServer32", u"ThreadingModel", u"Both"},
                {Action::SetValue, key + u"\\TypeLib", u"", u"{FB323C24-1BA6-49F6-945C-3EAB08374CD2}"},
            }));
  EXPECT_EQ(classRemoval(classTable[releaseScriptClass]),
            (RegistryScript{
                {Action::RemoveKey, u"quorlex.QuorlexExportConnector\\CLSID", u"", u""},
                {Action::RemoveKey, u"quorlex.QuorlexExportConnector", u"", u""},
                {Action::RemoveTree, key, u"", u""},
            }));
}

TEST(RegistryEntries, SetupScriptClassKeepsItsRegisteredSpelling) {
  const std::u16string classId = u"{50C19132-29B3-4a01-AA88-762CFDE9B821}";
  RegistryScript script = classRegistration(classTable[setupScriptClass], modulePath);
  ASSERT_EQ(script.size(), 10u);
  EXPECT_EQ(script[0], (RegistryStep{Action::SetValue, u"quorlex.TarvSetupScript\\CLSID", u"", classId}));
  EXPECT_EQ(script[2], (RegistryStep{Action::SetValue, u"CLSID\\" + classId, u"", u"quorlex.TarvSetupScript"}));
  EXPECT_EQ(script[4],
            (RegistryStep{Action::SetValue, u"CLSID\\" + classId + u"\\ProgID", u"", u"quorlex.TarvSetupScript"}));
  EXPECT_EQ(script[7], (RegistryStep{Action::SetValue, u"CLSID\\" + classId + u"\\InprocServer32", u"",
                                     std::u16string(modulePath)}));
  EXPECT_EQ(classRemoval(classTable[setupScriptClass]).back(),
            (RegistryStep{Action::RemoveTree, u"CLSID\\" + classId, u"", u""}));
}

TEST(RegistryEntries, NoStepTouchesTheRoots) {
  std::vector<RegistryScript> scripts{applicationIdRegistration(), applicationIdRemoval()};
  for (const ScriptClass& scriptClass : classTable) {
    scripts.push_back(classRegistration(scriptClass, modulePath));
    scripts.push_back(classRemoval(scriptClass));
  }
  for (const RegistryScript& script : scripts) {
    for (const RegistryStep& step : script) {
      EXPECT_NE(step.key, u"AppID");
      EXPECT_NE(step.key, u"CLSID");
    }
  }
}

TEST(RegistryEntries, PlaceholdersAreReplacedInOnePass) {
  struct Case {
    std::u16string_view text, path, expected;
  };
  const Case cases[] = {
      {u"%MODULE%", u"C:\\q.dll", u"C:\\q.dll"},
      {u"%APPID%", u"", u"{EE0D74DB-D178-4352-9CEE-31B29287A6DC}"},
      {u"%MODULE%", u"C:\\%APPID%\\q.dll", u"C:\\%APPID%\\q.dll"},
      {u"a%MODULE%b%APPID%", u"X", u"aXb{EE0D74DB-D178-4352-9CEE-31B29287A6DC}"},
      {u"%MODULE", u"X", u"%MODULE"},
      {u"", u"X", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(substitutePlaceholders(c.text, c.path), c.expected) << toUtf8(c.text);
}

}  // namespace
}  // namespace quorlex
