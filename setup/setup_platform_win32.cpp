#include "setup/setup_platform_win32.h"

#include "setup/setup_sheet_win32.h"
#include "setup/task_dialog_question.h"

namespace quorlex {

Win32SetupPlatform::Win32SetupPlatform(HMODULE module, QuestionDialogFactory questions)
    : module_(module), questions_(std::move(questions)), version_(module) {}

std::unique_ptr<ISetupSheet> Win32SetupPlatform::createSheet() { return std::make_unique<Win32SetupSheet>(module_); }

std::unique_ptr<IQuestionDialog> Win32SetupPlatform::createQuestionDialog() {
  if (questions_) return questions_();
  return std::make_unique<TaskDialogQuestion>();
}

}  // namespace quorlex
