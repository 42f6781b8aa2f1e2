#include "setup/task_dialog_question.h"

#include <memory>

namespace quorlex {

TaskDialogQuestion::TaskDialogQuestion() : client_(nullptr) {}

TaskDialogQuestion::TaskDialogQuestion(TaskDialogClientServices services) : client_(nullptr, std::move(services)) {}

void TaskDialogQuestion::SetButtons(std::span<const QuestionButton> buttons, std::int32_t defaultId) {
  // Texts first, then the array that points into them: neither moves again until the next
  // SetButtons, which points the client at the new array in the same call.
  buttonTexts_.clear();
  for (const QuestionButton& button : buttons) buttonTexts_.push_back(button.text);
  buttons_.clear();
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    TASKDIALOG_BUTTON entry{};
    entry.nButtonID = buttons[i].id;
    entry.pszButtonText = recordText(buttonTexts_[i].c_str());
    buttons_.push_back(entry);
  }
  client_.SetButtons(buttons_.empty() ? nullptr : buttons_.data(), static_cast<std::uint32_t>(buttons_.size()),
                     defaultId);
}

QuestionDialogFactory taskDialogQuestions(TaskDialogClientServices services) {
  return [services = std::move(services)]() -> std::unique_ptr<IQuestionDialog> {
    return std::make_unique<TaskDialogQuestion>(services);
  };
}

}  // namespace quorlex
