#include "setup/required_question.h"

#include <array>

#include "resources/string_table.h"

namespace quorlex {

bool askRequiredFields(const QuestionDialogFactory& makeDialog, std::u16string_view name) {
  using namespace requiredQuestion;
  std::u16string ignore = loadMessage(ignoreText);
  std::u16string map = formatMessage(mapText, {name});
  std::u16string instruction = formatMessage(instructionText);
  std::u16string title = loadMessage(titleText);

  std::unique_ptr<IQuestionDialog> dialog = makeDialog ? makeDialog() : nullptr;
  if (!dialog) return true;  // no dialog counts as the choice to map
  dialog->ModifyFlags(0, questionCommandLinksFlag);
  dialog->SetMainIcon(warningIcon);
  dialog->SetWindowTitle(title);
  dialog->SetMainInstruction(instruction, 0);
  const std::array<QuestionButton, 2> buttons{{{mapButton, std::move(map)}, {ignoreButton, std::move(ignore)}}};
  dialog->SetButtons(buttons);
  dialog->SetDefaultButton(mapButton);
  (void)dialog->DoModal();  // a dialog that did not appear answers 0, which maps
  return dialog->GetSelectedButtonId() != ignoreButton;
}

bool checkRequiredMappings(PropertyGrid& grid, const RequiredQuestion& ask) {
  for (PropertyGroup& group : grid.groups()) {
    for (const auto& item : group.items) {
      if (item->isSatisfied()) continue;
      if (!ask(item->name())) return true;
      grid.select(item.get());
      grid.ensureVisible(item.get());
      return false;
    }
  }
  return true;
}

}  // namespace quorlex
