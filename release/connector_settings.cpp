#include "release/connector_settings.h"

#include <memory>

namespace quorlex {
namespace {

template <typename Record>
bool readFrom(Record& record, std::u16string_view name, std::u16string_view defaultValue, std::u16string& result) {
  result = defaultValue;
  std::shared_ptr<ICustomProperties> properties;
  if (!hostSucceeded(record.customProperties(properties)) || !properties) return false;
  std::shared_ptr<ICustomProperty> property;
  if (!hostSucceeded(properties->item(std::u16string(name), property)) || !property) return false;
  std::u16string value;
  if (!hostSucceeded(property->value(value))) return false;
  result = std::move(value);
  return true;
}

}  // namespace

bool readCustomProperty(IReleaseData& record, std::u16string_view name, std::u16string_view defaultValue,
                        std::u16string& result) {
  return readFrom(record, name, defaultValue, result);
}

bool readCustomProperty(IReleaseSetupData& record, std::u16string_view name, std::u16string_view defaultValue,
                        std::u16string& result) {
  return readFrom(record, name, defaultValue, result);
}

bool writeCustomProperty(IReleaseSetupData& record, std::u16string_view name, std::u16string_view value) {
  std::shared_ptr<ICustomProperties> properties;
  if (!hostSucceeded(record.customProperties(properties)) || !properties) return false;
  std::u16string key(name);
  (void)properties->remove(key);  // a missing property is no error
  return hostSucceeded(properties->add(key, std::u16string(value)));
}

ConnectorSettings readConnectorSettings(IReleaseData& record) {
  ConnectorSettings settings;
  (void)readCustomProperty(record, settingKey::serverUrl, u"", settings.serverURL);
  std::u16string text;
  if (hostSucceeded(record.userName(text))) settings.userName = text;
  if (hostSucceeded(record.password(text))) settings.password = text;
  (void)readCustomProperty(record, settingKey::exitProgramProgram, u"", settings.ExitProgramProgram);
  (void)readCustomProperty(record, settingKey::exitProgramLibrary, u"", settings.ExitProgramLibrary);
  (void)readCustomProperty(record, settingKey::exitProgramDelimiter, u"", settings.ExitProgramDelimiter);
  return settings;
}

}  // namespace quorlex
