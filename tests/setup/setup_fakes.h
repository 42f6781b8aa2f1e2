#pragma once
// Test stand-ins for the platform side of the setup: a version source, a recording task
// dialog and a sheet that plays a script of page switches and edits.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "setup/dialog_controls.h"
#include "setup/headless_sheet.h"
#include "setup/parameter_table.h"
#include "setup/setup_sheet.h"
#include "testhost/memory_host.h"

namespace quorlex::test_support {

inline constexpr ResultCode hostFailure = static_cast<ResultCode>(0x80040001);

// An in-memory host and a parameter table on its setup data, rows as fillDefaults sets them.
struct HostWithTable {
  HostWithTable() { table.fillDefaults(); }
  MemoryHost host;
  std::shared_ptr<IReleaseSetupData> data = host.setupData();
  CParameterTable table{data};
};

class FixedVersionSource final : public IVersionSource {
 public:
  std::optional<FixedVersionBlock> block;
  std::optional<FixedVersionBlock> fixedVersionBlock() override { return block; }
};

// Records every call in order and answers with the button it was told to.
class RecordingQuestionDialog final : public IQuestionDialog {
 public:
  struct Record {
    std::vector<std::string> calls;
    std::uint32_t flags = 0;
    std::uint16_t icon = 0;
    std::u16string title;
    std::u16string instruction;
    std::uint32_t helpPrompt = 99;
    std::vector<QuestionButton> buttons;
    std::int32_t defaultButton = 0;
  };

  RecordingQuestionDialog(Record& record, std::int32_t answer) : record_(record), answer_(answer) {}

  void ModifyFlags(std::uint32_t remove, std::uint32_t add) override {
    record_.calls.push_back("ModifyFlags");
    record_.flags = add | (record_.flags & ~remove);
  }
  void SetMainIcon(std::uint16_t iconId) override {
    record_.calls.push_back("SetMainIcon");
    record_.icon = iconId;
  }
  void SetWindowTitle(std::u16string_view title) override {
    record_.calls.push_back("SetWindowTitle");
    record_.title = title;
  }
  void SetMainInstruction(std::u16string_view instruction, std::uint32_t helpPromptId) override {
    record_.calls.push_back("SetMainInstruction");
    record_.instruction = instruction;
    record_.helpPrompt = helpPromptId;
  }
  void SetButtons(std::span<const QuestionButton> buttons, std::int32_t defaultId) override {
    record_.calls.push_back("SetButtons");
    record_.buttons.assign(buttons.begin(), buttons.end());
    if (defaultId != 0) record_.defaultButton = defaultId;
  }
  void SetDefaultButton(std::int32_t buttonId) override {
    record_.calls.push_back("SetDefaultButton");
    record_.defaultButton = buttonId;
  }
  ResultCode DoModal() override {
    record_.calls.push_back("DoModal");
    if (answer_ == 0) return static_cast<ResultCode>(0x80070716);  // the dialog did not appear
    selected_ = answer_;
    return resultOk;
  }
  std::int32_t GetSelectedButtonId() const override { return selected_; }

 private:
  Record& record_;
  std::int32_t answer_;
  std::int32_t selected_ = 0;
};

// What the administrator does while the sheet is up; returns true for OK that closed it.
using SheetSession = HeadlessSheetSession;
using SheetScript = HeadlessSheetScript;

// A headless sheet that also keeps the layout of every sheet it runs.
class ScriptedSheet final : public ISetupSheet {
 public:
  ScriptedSheet(SheetScript script, std::vector<SetupSheetLayout>& layouts)
      : sheet_(std::move(script)), layouts_(layouts) {}

  bool runModal(const SetupSheetLayout& layout, const SetupSheetPages& pages) override {
    layouts_.push_back(layout);
    return sheet_.runModal(layout, pages);
  }

 private:
  HeadlessSheet sheet_;
  std::vector<SetupSheetLayout>& layouts_;
};

// One sheet script per RunUI, and the question dialogs' answers in order.
class ScriptedPlatform final : public ISetupPlatform {
 public:
  std::unique_ptr<ISetupSheet> createSheet() override {
    ++sheetsMade;
    if (!sheetAvailable) return nullptr;
    return std::make_unique<ScriptedSheet>(script, layouts);
  }
  std::unique_ptr<IQuestionDialog> createQuestionDialog() override {
    questions.emplace_back();
    std::int32_t answer = answers.empty() ? 0 : answers.front();
    if (!answers.empty()) answers.erase(answers.begin());
    return std::make_unique<RecordingQuestionDialog>(questions.back(), answer);
  }
  IVersionSource& versionSource() override { return version; }

  SheetScript script;
  std::vector<SetupSheetLayout> layouts;
  bool sheetAvailable = true;
  int sheetsMade = 0;
  std::vector<std::int32_t> answers;
  std::deque<RecordingQuestionDialog::Record> questions;  // stable addresses for the dialogs
  FixedVersionSource version;
};

}  // namespace quorlex::test_support
