#pragma once
// The required-mapping question's dialog on the real task-dialog client. The client borrows
// its button array until DoModal returns, while IQuestionDialog copies the buttons it is
// given, so the adapter owns the array and the texts it points into.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "setup/question_dialog.h"
#include "taskdialog/task_dialog_client.h"

namespace quorlex {

class TaskDialogQuestion final : public IQuestionDialog {
 public:
  // A client without a parent, on the services installed by the platform.
  TaskDialogQuestion();
  explicit TaskDialogQuestion(TaskDialogClientServices services);

  void ModifyFlags(std::uint32_t remove, std::uint32_t add) override { client_.ModifyFlags(remove, add); }
  void SetMainIcon(std::uint16_t iconId) override { client_.SetMainIcon(iconId); }
  void SetWindowTitle(std::u16string_view title) override { client_.SetWindowTitle(title); }
  void SetMainInstruction(std::u16string_view instruction, std::uint32_t helpPromptId) override {
    client_.SetMainInstruction(instruction, helpPromptId);
  }
  void SetButtons(std::span<const QuestionButton> buttons, std::int32_t defaultId = 0) override;
  void SetDefaultButton(std::int32_t buttonId) override { client_.SetDefaultButton(buttonId); }
  ResultCode DoModal() override { return client_.DoModal(); }
  std::int32_t GetSelectedButtonId() const override { return client_.GetSelectedButtonId(); }

  const CXTaskDialogMFCClient& client() const { return client_; }

 private:
  CXTaskDialogMFCClient client_;
  std::vector<std::u16string> buttonTexts_;
  std::vector<TASKDIALOG_BUTTON> buttons_;
};

// Dialogs for askRequiredFields: one TaskDialogQuestion per question, on these services.
QuestionDialogFactory taskDialogQuestions(TaskDialogClientServices services);

}  // namespace quorlex
