#pragma once
// The connector's stored settings: custom properties of the host's release-setup record,
// read at release through the document-data object and written at setup.

#include <string>
#include <string_view>

#include "server/host_objects.h"

namespace quorlex {

namespace settingKey {
inline constexpr std::u16string_view serverUrl = u"serverURL";
inline constexpr std::u16string_view exitProgramProgram = u"ExitProgramProgram";
inline constexpr std::u16string_view exitProgramLibrary = u"ExitProgramLibrary";
inline constexpr std::u16string_view exitProgramDelimiter = u"ExitProgramDelimiter";
}  // namespace settingKey

// The settings as the release side holds them for one document; empty where unset.
struct ConnectorSettings {
  std::u16string serverURL;
  std::u16string userName;
  std::u16string password;
  std::u16string ExitProgramProgram;
  std::u16string ExitProgramLibrary;
  std::u16string ExitProgramDelimiter;
  bool operator==(const ConnectorSettings&) const = default;
};

// The property's value, or the default; returns whether the property was found and read. At
// release, a read that runs out of memory throws std::bad_alloc (release/host_read.h).
bool readCustomProperty(IReleaseData& record, std::u16string_view name, std::u16string_view defaultValue,
                        std::u16string& result);
bool readCustomProperty(IReleaseSetupData& record, std::u16string_view name, std::u16string_view defaultValue,
                        std::u16string& result);

// Removes any property of that name, then adds it; returns whether the Add succeeded.
bool writeCustomProperty(IReleaseSetupData& record, std::u16string_view name, std::u16string_view value);

// Reads serverURL, the user name, the password, ExitProgramProgram, ExitProgramLibrary and
// ExitProgramDelimiter, in that order; whatever cannot be read is the empty text, and memory
// running out on the way throws std::bad_alloc.
ConnectorSettings readConnectorSettings(IReleaseData& record);

}  // namespace quorlex
