#include "setup/setup_script.h"

#include "resources/string_table.h"
#include "setup/parameter_table.h"
#include "setup/required_question.h"

namespace quorlex {

TarvSetupScript::TarvSetupScript(std::shared_ptr<ISetupPlatform> platform) : platform_(std::move(platform)) {}

void TarvSetupScript::OpenScript(KfxReturnValue& result) { result = KFX_REL_SUCCESS; }

void TarvSetupScript::CloseScript(KfxReturnValue& result) { result = KFX_REL_SUCCESS; }

KfxReturnValue actionEventResult(std::int32_t action) {
  return action >= KFX_REL_DOCCLASS_RENAME && action <= KFX_REL_END ? KFX_REL_SUCCESS : KFX_REL_UNSUPPORTED;
}

void TarvSetupScript::ActionEvent(std::int32_t action, std::u16string_view, std::u16string_view,
                                  KfxReturnValue& result) {
  result = actionEventResult(action);
}

void TarvSetupScript::RunUI(KfxReturnValue& result) {
  if (!setupData_ || !platform_) {
    result = KFX_REL_ERROR;
    return;
  }
  result = KFX_REL_SUCCESS;
  SetupSheetLayout layout;
  layout.caption = loadMessage(setupSheetCaption);
  std::unique_ptr<ISetupSheet> sheet = platform_->createSheet();
  if (!sheet) return;  // nothing shown, nothing written, as after Cancel

  CParameterTable table(setupData_);
  (void)table.fillDefaults();
  const bool linksLoaded = table.loadLinks();
  (void)table.loadValueNames();

  ISetupPlatform& platform = *platform_;
  CPropertyPageSetupGeneral general(platform.versionSource());
  CPropertyPageSetupMapping mapping([&platform](std::u16string_view name) {
    return askRequiredFields([&platform] { return platform.createQuestionDialog(); }, name);
  });
  general.setTable(&table);
  mapping.setTable(&table);

  if (!sheet->runModal(layout, SetupSheetPages{general, mapping})) return;
  // The General page has written its fields during OK; the links and Apply follow.
  // Links that could not be read are not replaced: saving would first remove every stored
  // mapping and then write back only what the sheet showed, which was none of them.
  if (linksLoaded) (void)table.saveLinks();
  (void)setupData_->apply();
}

}  // namespace quorlex
