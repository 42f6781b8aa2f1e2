#include "setup/general_page.h"

#include "common/text.h"
#include "release/connector_settings.h"
#include "setup/parameter_table.h"

namespace quorlex {

const std::array<GeneralFieldControl, 10> generalFieldControls{{
    {&GeneralFields::batchClassName, generalControl::batchClassName, 11056, u"Batch Class:"},
    {&GeneralFields::docClassName, generalControl::docClassName, 11004, u"Document Class:"},
    {&GeneralFields::instanceName, generalControl::instanceName, 11006, u"Export Connector Instance Name:"},
    {&GeneralFields::serverURL, generalControl::serverURL, 11016, u"Brenno Address:"},
    {&GeneralFields::userName, generalControl::userName, 11026, u"Username:"},
    {&GeneralFields::password, generalControl::password, 11027, u"Password:"},
    {&GeneralFields::exitProgramName, generalControl::exitProgramName, 11031, u"Exit Program Name:"},
    {&GeneralFields::exitProgramLibrary, generalControl::exitProgramLibrary, 11029, u"Library:"},
    {&GeneralFields::delimiter, generalControl::delimiter, 11033, u"Delimiter:"},
    {&GeneralFields::versionText, generalControl::versionText, generalControl::versionLabel, u"Version:"},
}};

namespace {

using TextRead = ResultCode (IReleaseSetupData::*)(std::u16string&);

// A read that fails gives the empty text.
std::u16string readText(IReleaseSetupData& data, TextRead read) {
  std::u16string text;
  if (!hostSucceeded((data.*read)(text))) text.clear();
  return text;
}

std::u16string readProperty(IReleaseSetupData& data, std::u16string_view name) {
  std::u16string text;
  (void)readCustomProperty(data, name, u"", text);
  return text;
}

std::size_t firstCharacterUnits(std::u16string_view text) {
  if (text.size() >= 2 && isHighSurrogate(text[0]) && isLowSurrogate(text[1])) return 2;
  return text.empty() ? 0 : 1;
}

}  // namespace

std::size_t characterCount(std::u16string_view text) {
  std::size_t count = 0;
  while (!text.empty()) {
    text.remove_prefix(firstCharacterUnits(text));
    ++count;
  }
  return count;
}

std::u16string shownDelimiter(std::u16string_view stored) {
  if (stored.empty()) return std::u16string(emptyDelimiterReplacement);
  return std::u16string(stored.substr(0, firstCharacterUnits(stored)));
}

std::u16string delimiterTooLongMessage() {
  return u"Enter no more than " + decimalText(maxDelimiterCharacters) + u" characters.";
}

CPropertyPageSetupGeneral::CPropertyPageSetupGeneral(IVersionSource& versionSource) : versionSource_(versionSource) {}

bool CPropertyPageSetupGeneral::onInitDialog() {
  if (readVersionText(versionSource_, fields_.versionText) && controls_) {
    controls_->show(generalControl::versionLabel);
    controls_->show(generalControl::versionText);
  }
  (void)loadSettings();
  return true;
}

bool CPropertyPageSetupGeneral::onSetActive() {
  // Coming back to the page shows the members again; the first time they are already shown.
  if (shownBefore_) return exchange(false);
  shownBefore_ = true;
  return true;
}

bool CPropertyPageSetupGeneral::onKillActive() { return exchange(true); }

void CPropertyPageSetupGeneral::onOK() { (void)saveSettings(); }

bool CPropertyPageSetupGeneral::exchange(bool fromControls) {
  if (!controls_) return true;
  controls_->limitText(generalControl::delimiter, maxDelimiterCharacters);
  for (const GeneralFieldControl& field : generalFieldControls) {
    std::u16string& member = fields_.*field.member;
    if (!fromControls) {
      controls_->setText(field.controlId, member);
      continue;
    }
    std::u16string text = controls_->text(field.controlId);
    if (field.controlId == generalControl::delimiter && characterCount(text) > maxDelimiterCharacters) {
      controls_->refuse(field.controlId, delimiterTooLongMessage());
      return false;
    }
    member = std::move(text);
  }
  return true;
}

bool CPropertyPageSetupGeneral::loadSettings() {
  IReleaseSetupData* data = table_ ? table_->setupData() : nullptr;
  if (!data) return false;
  fields_.batchClassName = readText(*data, &IReleaseSetupData::batchClassName);
  fields_.docClassName = readText(*data, &IReleaseSetupData::docClassName);
  fields_.instanceName = readText(*data, &IReleaseSetupData::name);
  fields_.serverURL = readProperty(*data, settingKey::serverUrl);
  fields_.userName = readText(*data, &IReleaseSetupData::userName);
  fields_.password = readText(*data, &IReleaseSetupData::password);
  fields_.exitProgramName = readProperty(*data, settingKey::exitProgramProgram);
  fields_.exitProgramLibrary = readProperty(*data, settingKey::exitProgramLibrary);
  fields_.delimiter = shownDelimiter(readProperty(*data, settingKey::exitProgramDelimiter));
  (void)exchange(false);
  return true;
}

bool CPropertyPageSetupGeneral::saveSettings() {
  if (!table_) return false;
  IReleaseSetupData* data = table_->setupData();
  // Without a setup-data object there is nowhere to write to.
  if (!data) return false;
  if (!exchange(true)) return false;
  (void)data->setName(fields_.instanceName);
  (void)writeCustomProperty(*data, settingKey::serverUrl, fields_.serverURL);
  (void)data->setUserName(fields_.userName);
  (void)data->setPassword(fields_.password);
  (void)writeCustomProperty(*data, settingKey::exitProgramProgram, fields_.exitProgramName);
  (void)writeCustomProperty(*data, settingKey::exitProgramLibrary, fields_.exitProgramLibrary);
  (void)writeCustomProperty(*data, settingKey::exitProgramDelimiter, fields_.delimiter);
  return true;
}

}  // namespace quorlex
