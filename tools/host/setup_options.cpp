#include "tools/host/setup_options.h"

#include <algorithm>

#include "common/text.h"
#include "release/connector_settings.h"
#include "setup/general_page.h"

namespace quorlex::host {

const std::array<SetupFieldKey, 7> setupFieldKeys{{
    {u"Name", generalControl::instanceName},
    {settingKey::serverUrl, generalControl::serverURL},
    {u"UserName", generalControl::userName},
    {u"Password", generalControl::password},
    {settingKey::exitProgramProgram, generalControl::exitProgramName},
    {settingKey::exitProgramLibrary, generalControl::exitProgramLibrary},
    {settingKey::exitProgramDelimiter, generalControl::delimiter},
}};

std::u16string_view setupFieldKey(std::int32_t controlId) {
  for (const SetupFieldKey& field : setupFieldKeys) {
    if (field.controlId == controlId) return field.key;
  }
  return {};
}

const std::string_view setupUsage =
    "usage: quorlex-host setup FILE [--show] [--set KEY=VALUE]... [--map PARMn=SOURCE]...\n"
    "\n"
    "Changes the setup record of the host file FILE as an administrator's OK on the setup\n"
    "sheet would, or shows what the sheet shows.\n"
    "  --show                  print the General fields (the password masked) and the twenty\n"
    "                          parameters with value, mapping and description; after changes,\n"
    "                          as they were stored\n"
    "  --set KEY=VALUE         set a General field; KEY is its stored name: Name, serverURL,\n"
    "                          UserName, Password, ExitProgramProgram, ExitProgramLibrary or\n"
    "                          ExitProgramDelimiter (one character)\n"
    "  --map PARMn=index:NAME  map parameter n (1 to 20) to an index field of the file's\n"
    "                          indexFields\n"
    "  --map PARMn=value:NAME  map it to a Kofax Capture value of the file's batchVariableNames\n"
    "  --map PARMn=text:TEXT   map it to the text constant TEXT (not empty)\n"
    "  --map PARMn=none        leave it unmapped\n"
    "All changes of one call are one confirmation: the General fields, then the mappings in\n"
    "parameter order, then OK. The file is written only when every change is accepted, and\n"
    "replaced as a whole, keeping what the setup does not own; the links are rewritten: the\n"
    "mapped parameters, then the three fixed links. A parameter marked as required that is\n"
    "left unmapped keeps the sheet open, as \"Map Required Fields\" does: nothing is written.\n"
    "Exit status: 0 when done, 2 for a bad command line or host file or a refused change, with\n"
    "the file untouched.\n";

namespace {

bool validUtf8(std::string_view text) { return toUtf8(fromUtf8(text)) == text; }

struct SourcePrefix {
  std::string_view prefix;
  MappingSource source;
};
constexpr std::array<SourcePrefix, 3> sourcePrefixes{{
    {"index:", MappingSource::IndexField},
    {"value:", MappingSource::CaptureValue},
    {"text:", MappingSource::TextConstant},
}};

std::optional<FieldSetting> parseSetting(std::string_view argument, std::string& error) {
  std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos) {
    error = "--set needs KEY=VALUE, not \"" + std::string(argument) + "\"";
    return std::nullopt;
  }
  std::string key(argument.substr(0, equals));
  std::int32_t controlId = 0;
  for (const SetupFieldKey& field : setupFieldKeys) {
    if (toUtf8(field.key) == key) controlId = field.controlId;
  }
  if (controlId == 0) {
    error = "--set: unknown field \"" + key +
            "\"; the fields are Name, serverURL, UserName, Password, ExitProgramProgram, "
            "ExitProgramLibrary and ExitProgramDelimiter";
    return std::nullopt;
  }
  std::string_view value = argument.substr(equals + 1);
  if (!validUtf8(value)) {
    error = "--set " + key + ": the value is not valid UTF-8";
    return std::nullopt;
  }
  return FieldSetting{controlId, fromUtf8(value), std::string(argument)};
}

std::optional<ParameterMapping> parseMapping(std::string_view argument, std::string& error) {
  std::string given(argument);
  std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    error = "--map needs PARMn=index:NAME, PARMn=value:NAME, PARMn=text:TEXT or PARMn=none, not \"" + given + "\"";
    return std::nullopt;
  }
  if (!validUtf8(argument)) {
    error = "--map: \"" + given + "\" is not valid UTF-8";
    return std::nullopt;
  }
  ParameterMapping mapping;
  mapping.parameter = fromUtf8(argument.substr(0, equals));
  mapping.argument = given;
  std::string_view source = argument.substr(equals + 1);
  if (source == "none") return mapping;
  auto prefix = std::find_if(sourcePrefixes.begin(), sourcePrefixes.end(),
                             [&](const SourcePrefix& each) { return source.starts_with(each.prefix); });
  if (prefix == sourcePrefixes.end()) {
    error = "--map " + given + ": the source is index:NAME, value:NAME, text:TEXT or none";
    return std::nullopt;
  }
  mapping.source = prefix->source;
  mapping.text = fromUtf8(source.substr(prefix->prefix.size()));
  if (mapping.text.empty()) {
    error = "--map " + given +
            (mapping.source == MappingSource::TextConstant
                 ? ": an empty text constant is not stored; use " + toUtf8(mapping.parameter) + "=none to leave it unmapped"
                 : ": the source needs a name");
    return std::nullopt;
  }
  return mapping;
}

}  // namespace

std::optional<SetupOptions> parseSetupOptions(std::span<const std::string_view> arguments, std::string& error,
                                              bool sheetShown) {
  SetupOptions options;
  bool havePath = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      return options;
    }
    if (argument == "--show") {
      options.show = true;
      continue;
    }
    if (argument == "--set" || argument == "--map") {
      if (i + 1 == arguments.size()) {
        error = std::string(argument) + (argument == "--set" ? " needs KEY=VALUE" : " needs PARMn=SOURCE");
        return std::nullopt;
      }
      std::string_view value = arguments[++i];
      if (argument == "--set") {
        std::optional<FieldSetting> setting = parseSetting(value, error);
        if (!setting) return std::nullopt;
        for (const FieldSetting& earlier : options.changes.settings) {
          if (earlier.controlId == setting->controlId) {
            error = "--set " + toUtf8(setupFieldKey(setting->controlId)) + " is given twice";
            return std::nullopt;
          }
        }
        options.changes.settings.push_back(std::move(*setting));
      } else {
        std::optional<ParameterMapping> mapping = parseMapping(value, error);
        if (!mapping) return std::nullopt;
        for (const ParameterMapping& earlier : options.changes.mappings) {
          if (earlier.parameter == mapping->parameter) {
            error = "--map " + toUtf8(mapping->parameter) + " is given twice";
            return std::nullopt;
          }
        }
        options.changes.mappings.push_back(std::move(*mapping));
      }
      continue;
    }
    if (argument.starts_with("--") || havePath) {
      error = "unexpected argument \"" + std::string(argument) + "\"";
      return std::nullopt;
    }
    options.path = std::string(argument);
    havePath = true;
  }
  if (!havePath) {
    error = "setup needs a host file";
    return std::nullopt;
  }
  if (!sheetShown && !options.show && options.changes.empty()) {
    error = "setup needs --show, --set or --map";
    return std::nullopt;
  }
  return options;
}

}  // namespace quorlex::host
