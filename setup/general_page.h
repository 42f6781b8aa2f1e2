#pragma once
// The General page: the batch and document class, the instance name, the gateway address
// with its user name and password, the exit program, library and delimiter, and the
// component's version line.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "setup/dialog_controls.h"
#include "setup/setup_page.h"
#include "setup/version_text.h"

namespace quorlex {

class CParameterTable;

namespace generalControl {
inline constexpr std::int32_t dialogTemplate = 11003;
inline constexpr std::int32_t batchClassName = 11003;
inline constexpr std::int32_t docClassName = 11005;
inline constexpr std::int32_t instanceName = 11002;
inline constexpr std::int32_t serverURL = 11017;
inline constexpr std::int32_t userName = 11024;
inline constexpr std::int32_t password = 11025;
inline constexpr std::int32_t exitProgramName = 11030;
inline constexpr std::int32_t exitProgramLibrary = 11028;
inline constexpr std::int32_t delimiter = 11032;
inline constexpr std::int32_t versionLabel = 11059;
inline constexpr std::int32_t versionText = 11060;
}  // namespace generalControl

inline constexpr std::u16string_view generalPageTitle = u"General";
inline constexpr std::u16string_view emptyDelimiterReplacement = u"|";
inline constexpr std::size_t maxDelimiterCharacters = 1;

// The page's ten texts, in the order the data exchange moves them.
struct GeneralFields {
  std::u16string batchClassName;
  std::u16string docClassName;
  std::u16string instanceName;
  std::u16string serverURL;
  std::u16string userName;
  std::u16string password;
  std::u16string exitProgramName;
  std::u16string exitProgramLibrary;
  std::u16string delimiter;
  std::u16string versionText;
  bool operator==(const GeneralFields&) const = default;
};

// Each member of GeneralFields with the control that shows it and the label beside that
// control, in exchange order.
struct GeneralFieldControl {
  std::u16string GeneralFields::*member;
  std::int32_t controlId;
  std::int32_t labelId;
  std::u16string_view label;
};
extern const std::array<GeneralFieldControl, 10> generalFieldControls;

// The delimiter as the page shows it: "|" for the empty text, else its first character
// (a surrogate pair counts as one character).
std::u16string shownDelimiter(std::u16string_view stored);
// Characters in the text, a surrogate pair counting as one.
std::size_t characterCount(std::u16string_view text);
// The refusal of a delimiter longer than one character.
std::u16string delimiterTooLongMessage();

class CPropertyPageSetupGeneral final : public ISetupPage {
 public:
  explicit CPropertyPageSetupGeneral(IVersionSource& versionSource);

  void setTable(CParameterTable* table) { table_ = table; }
  CParameterTable* table() const { return table_; }
  // The page's controls, given by the sheet when it makes the page's window.
  void attachControls(IDialogControls* controls) { controls_ = controls; }

  std::int32_t templateId() const override { return generalControl::dialogTemplate; }
  std::u16string_view title() const override { return generalPageTitle; }
  bool onInitDialog() override;
  bool onSetActive() override;
  bool onKillActive() override;
  void onOK() override;

  bool loadSettings();
  bool saveSettings();
  // Moves the ten texts to the controls (false) or from them (true); from the controls it
  // refuses a delimiter longer than one character and stops there.
  bool exchange(bool fromControls);

  const GeneralFields& fields() const { return fields_; }

 private:
  IVersionSource& versionSource_;
  CParameterTable* table_ = nullptr;
  IDialogControls* controls_ = nullptr;
  GeneralFields fields_;
  bool shownBefore_ = false;
};

}  // namespace quorlex
