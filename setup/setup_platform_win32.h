#pragma once
// The setup's platform on Windows: the Win32 sheet, the required-mapping question on the
// task-dialog client (with the services the component installed), and the version resource
// of the component's own file.

#include <windows.h>

#include "setup/question_dialog.h"
#include "setup/setup_sheet.h"
#include "setup/version_source_win32.h"

namespace quorlex {

class Win32SetupPlatform final : public ISetupPlatform {
 public:
  // module: the component's (templates, strings, version). questions: the question's
  // dialogs; without, a TaskDialogQuestion on the installed services.
  explicit Win32SetupPlatform(HMODULE module, QuestionDialogFactory questions = {});

  std::unique_ptr<ISetupSheet> createSheet() override;
  std::unique_ptr<IQuestionDialog> createQuestionDialog() override;
  IVersionSource& versionSource() override { return version_; }

 private:
  HMODULE module_;
  QuestionDialogFactory questions_;
  ModuleVersionSource version_;
};

}  // namespace quorlex
