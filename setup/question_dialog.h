#pragma once
// The task dialog as the required-mapping question uses it: a fresh dialog per question,
// filled through the task-dialog client's setters (same names, same meaning), shown once
// and read back. The task-dialog client implements it on Windows; tests give a fake.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "common/result_code.h"

namespace quorlex {

// dwFlags bit: the custom buttons are command links.
inline constexpr std::uint32_t questionCommandLinksFlag = 0x0010;

// One custom button: the id it answers with and its text (a command link's main text,
// then after a line feed its note).
struct QuestionButton {
  std::int32_t id = 0;
  std::u16string text;
  bool operator==(const QuestionButton&) const = default;
};

class IQuestionDialog {
 public:
  virtual ~IQuestionDialog() = default;
  virtual void ModifyFlags(std::uint32_t remove, std::uint32_t add) = 0;
  virtual void SetMainIcon(std::uint16_t iconId) = 0;
  virtual void SetWindowTitle(std::u16string_view title) = 0;
  virtual void SetMainInstruction(std::u16string_view instruction, std::uint32_t helpPromptId) = 0;
  // The buttons are copied; defaultId 0 leaves the default button as it was.
  virtual void SetButtons(std::span<const QuestionButton> buttons, std::int32_t defaultId = 0) = 0;
  virtual void SetDefaultButton(std::int32_t buttonId) = 0;
  virtual ResultCode DoModal() = 0;
  // The id of the button that ended the dialog; 0 when no dialog appeared.
  virtual std::int32_t GetSelectedButtonId() const = 0;
};

// Makes the dialog for one question; none when no dialog can be made.
using QuestionDialogFactory = std::function<std::unique_ptr<IQuestionDialog>()>;

}  // namespace quorlex
