#include "release/connector_settings.h"

#include <memory>

#include "release/host_read.h"

namespace quorlex {
namespace {

// The code of the first host call that failed (E_FAIL for an object not given), or 0.
template <typename Record>
ResultCode readFrom(Record& record, std::u16string_view name, std::u16string_view defaultValue,
                    std::u16string& result) {
  result = defaultValue;
  std::shared_ptr<ICustomProperties> properties;
  if (ResultCode code = record.customProperties(properties); !hostSucceeded(code)) return code;
  if (!properties) return resultFail;
  std::shared_ptr<ICustomProperty> property;
  if (ResultCode code = properties->item(std::u16string(name), property); !hostSucceeded(code)) return code;
  if (!property) return resultFail;
  std::u16string value;
  if (ResultCode code = property->value(value); !hostSucceeded(code)) return code;
  result = std::move(value);
  return resultOk;
}

}  // namespace

bool readCustomProperty(IReleaseData& record, std::u16string_view name, std::u16string_view defaultValue,
                        std::u16string& result) {
  return hostRead(readFrom(record, name, defaultValue, result));
}

bool readCustomProperty(IReleaseSetupData& record, std::u16string_view name, std::u16string_view defaultValue,
                        std::u16string& result) {
  return hostSucceeded(readFrom(record, name, defaultValue, result));
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
  if (hostRead(record.userName(text))) settings.userName = text;
  if (hostRead(record.password(text))) settings.password = text;
  (void)readCustomProperty(record, settingKey::exitProgramProgram, u"", settings.ExitProgramProgram);
  (void)readCustomProperty(record, settingKey::exitProgramLibrary, u"", settings.ExitProgramLibrary);
  (void)readCustomProperty(record, settingKey::exitProgramDelimiter, u"", settings.ExitProgramDelimiter);
  return settings;
}

}  // namespace quorlex
