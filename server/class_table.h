#pragma once
// The component's identity: the two script classes in the order that registration,
// unregistration and lookup walk them, the type library and the AppID.

#include <array>
#include <cstdint>
#include <string_view>

namespace quorlex {

struct ScriptClass {
  std::u16string_view className;      // the class that implements it
  std::u16string_view publishedName;  // the coclass of the type library
  // As written into the registry: the setup script's id keeps its lower-case "a", the
  // spelling that was always registered.
  std::u16string_view classId;
  std::u16string_view progId;
  std::u16string_view interfaceName;
  std::u16string_view interfaceId;
};

inline constexpr std::array<ScriptClass, 2> classTable{{
    {u"releaseScript", u"QuorlexExportConnector", u"{741DD025-7592-4713-A316-E86A5C56844C}",
     u"quorlex.QuorlexExportConnector", u"IKfxReleaseScript", u"{D0B556C8-975C-4D36-B855-0DD1AB0B6255}"},
    {u"TarvSetupScript", u"TarvSetupScript", u"{50C19132-29B3-4a01-AA88-762CFDE9B821}", u"quorlex.TarvSetupScript",
     u"IKfxReleaseSetupScript", u"{5F5E61B2-0B35-4616-BABE-3DCDC12D5E11}"},
}};

inline constexpr std::size_t releaseScriptClass = 0;
inline constexpr std::size_t setupScriptClass = 1;

inline constexpr std::u16string_view typeLibraryId = u"{FB323C24-1BA6-49F6-945C-3EAB08374CD2}";
inline constexpr std::uint16_t typeLibraryMajorVersion = 1;
inline constexpr std::uint16_t typeLibraryMinorVersion = 0;

inline constexpr std::u16string_view applicationId = u"{EE0D74DB-D178-4352-9CEE-31B29287A6DC}";
inline constexpr std::u16string_view applicationName = u"quorlex";
inline constexpr std::u16string_view moduleFileName = u"quorlex.DLL";

}  // namespace quorlex
