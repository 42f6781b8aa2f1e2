#include "setup/task_dialog_question.h"

#include <gtest/gtest.h>

#include <vector>

#include "setup/required_question.h"

namespace quorlex {
namespace {

// What the request held while the dialog was up, read field by field from the packed record.
struct SeenRequest {
  std::uint32_t size = 0;
  bool hasParent = true;
  std::uint32_t flags = 0;
  std::uint32_t commonButtons = 0;
  std::uintptr_t icon = 0;
  std::u16string title;
  std::u16string instruction;
  std::vector<std::pair<int, std::u16string>> buttons;
  int defaultButton = 0;
  bool operator==(const SeenRequest&) const = default;
};

std::u16string textAt(RecordText text) { return text ? std::u16string(systemText(text)) : u"(none)"; }

class QuestionOnTheClient : public testing::Test {
 protected:
  TaskDialogClientServices services() {
    TaskDialogClientServices s;
    s.ownDialog = [this](const TASKDIALOGCONFIG* config, int* button, int*, int*) {
      ++shown;
      SeenRequest request;
      request.size = config->cbSize;
      request.hasParent = config->hwndParent != nullptr;
      request.flags = flagsOf(*config);
      request.commonButtons = commonButtonsOf(*config);
      request.icon = textOrIdValue(config->pszMainIcon);
      request.title = textAt(config->pszWindowTitle);
      request.instruction = textAt(config->pszMainInstruction);
      const TASKDIALOG_BUTTON* buttons = config->pButtons;
      for (std::uint32_t i = 0; i < config->cButtons; ++i) {
        request.buttons.emplace_back(buttons[i].nButtonID, textAt(buttons[i].pszButtonText));
      }
      request.defaultButton = config->nDefaultButton;
      seen = request;
      if (failure != resultOk) return failure;
      *button = answer;
      return resultOk;
    };
    return s;
  }

  int shown = 0;
  SeenRequest seen;
  int answer = requiredQuestion::mapButton;
  ResultCode failure = resultOk;
};

TEST_F(QuestionOnTheClient, TheRequiredMappingQuestionReachesTheDialogWhole) {
  EXPECT_TRUE(askRequiredFields(taskDialogQuestions(services()), u"Parameter 4"));
  ASSERT_EQ(shown, 1);
  SeenRequest expected;
  expected.size = taskDialogConfigSize;
  expected.hasParent = false;
  expected.flags = TDF_USE_COMMAND_LINKS;
  expected.icon = 11020;
  expected.title = u"Required field not Mapped";
  expected.instruction = u"One or more fields that are marked as 'Required' have not been mapped. What would you like to do?";
  expected.buttons = {
      {541, u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Parameter 4'."},
      {542, u"Ignore Requirement\nDo not map the Required fields and close this dialog immediately."}};
  expected.defaultButton = 541;
  EXPECT_EQ(seen, expected);
}

TEST_F(QuestionOnTheClient, OnlyIgnoreLetsThePageGo) {
  const struct {
    const char* what;
    int answer;
    ResultCode failure;
    bool map;
  } cases[] = {
      {"map", 541, resultOk, true},
      {"ignore", 542, resultOk, false},
      {"dialog failed", 542, resultOutOfMemory, true},
  };
  for (const auto& c : cases) {
    answer = c.answer;
    failure = c.failure;
    EXPECT_EQ(askRequiredFields(taskDialogQuestions(services()), u"Parameter 1"), c.map) << c.what;
  }
}

TEST_F(QuestionOnTheClient, ButtonsOutliveTheCallersArrayAndAreReplacedWhole) {
  TaskDialogQuestion question(services());
  {
    std::vector<QuestionButton> first{{1, u"First\nnote long enough to leave the small-string buffer"}, {2, u"Second"}};
    question.SetButtons(first, 2);
    std::vector<QuestionButton> second{{7, u"Seventh, also long enough to live on the heap of the vector"}};
    question.SetButtons(second);
  }
  EXPECT_EQ(question.DoModal(), resultOk);
  EXPECT_EQ(seen.buttons, (std::vector<std::pair<int, std::u16string>>{
                              {7, u"Seventh, also long enough to live on the heap of the vector"}}));
  EXPECT_EQ(seen.defaultButton, 2);  // a later SetButtons without a default keeps it
  EXPECT_EQ(question.GetSelectedButtonId(), 541);
}

}  // namespace
}  // namespace quorlex
