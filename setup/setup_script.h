#pragma once
// The setup-script object that the host's administration module drives: SetupData, then
// OpenScript, RunUI when the administrator opens the settings, CloseScript; ActionEvent at
// any time.

#include <cstdint>
#include <memory>
#include <string_view>

#include "server/host_objects.h"
#include "setup/setup_sheet.h"

namespace quorlex {

inline constexpr std::uint32_t setupSheetCaption = 11003;

class TarvSetupScript {
 public:
  explicit TarvSetupScript(std::shared_ptr<ISetupPlatform> platform);

  void OpenScript(KfxReturnValue& result);
  // Shows the setup sheet; on OK stores the General fields, the links and Applies. Without a
  // setup-data object nothing can be shown or stored: no sheet, and KFX_REL_ERROR.
  void RunUI(KfxReturnValue& result);
  void CloseScript(KfxReturnValue& result);
  // Answers by the action value alone; changes nothing.
  void ActionEvent(std::int32_t action, std::u16string_view data1, std::u16string_view data2, KfxReturnValue& result);

  std::shared_ptr<IReleaseSetupData> SetupData() const { return setupData_; }
  void setSetupData(std::shared_ptr<IReleaseSetupData> setupData) { setupData_ = std::move(setupData); }

 private:
  std::shared_ptr<ISetupPlatform> platform_;
  std::shared_ptr<IReleaseSetupData> setupData_;
};

// KFX_REL_SUCCESS for the actions 0 to 13, KFX_REL_UNSUPPORTED for every other value.
KfxReturnValue actionEventResult(std::int32_t action);

}  // namespace quorlex
