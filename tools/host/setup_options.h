#pragma once
// The command line of quorlex-host setup: the host file, --show, and the changes an
// administrator would make on the setup sheet (--set for a General field, --map for a
// parameter).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorlex::host {

// A General field as --set names it: the name it is stored under, and the page's control.
struct SetupFieldKey {
  std::u16string_view key;
  std::int32_t controlId;
};
// In the page's order.
extern const std::array<SetupFieldKey, 7> setupFieldKeys;
// The stored name of the field that control shows, or empty.
std::u16string_view setupFieldKey(std::int32_t controlId);

struct FieldSetting {
  std::int32_t controlId = 0;
  std::u16string value;
  std::string argument;  // KEY=VALUE as given, for messages
};

enum class MappingSource { IndexField, CaptureValue, TextConstant, None };

struct ParameterMapping {
  std::u16string parameter;  // the destination the row is found by, PARM1 to PARM20
  MappingSource source = MappingSource::None;
  std::u16string text;  // the index field's or value's name, or the constant
  std::string argument;  // PARMn=... as given, for messages
};

struct SetupChanges {
  std::vector<FieldSetting> settings;
  std::vector<ParameterMapping> mappings;
  bool empty() const { return settings.empty() && mappings.empty(); }
};

struct SetupOptions {
  bool help = false;
  std::string path;
  bool show = false;
  SetupChanges changes;
};

// The arguments after "setup". None, with one message in error, for a command line that does
// not say what to set up. Where the real sheet is shown (sheetShown), FILE alone says it:
// the administrator makes the changes on the sheet.
std::optional<SetupOptions> parseSetupOptions(std::span<const std::string_view> arguments, std::string& error,
                                              bool sheetShown = false);

extern const std::string_view setupUsage;

}  // namespace quorlex::host
