#include "setup/required_question.h"

#include <gtest/gtest.h>

#include "setup/mapping_page.h"
#include "setup/parameter_table.h"
#include "setup_fakes.h"
#include "testhost/memory_host.h"
#include "tests/support/table_rows.h"

namespace quorlex {
namespace {

using test_support::PrintTo;
using test_support::RecordingQuestionDialog;

QuestionDialogFactory answering(RecordingQuestionDialog::Record& record, std::int32_t answer) {
  return [&record, answer] { return std::make_unique<RecordingQuestionDialog>(record, answer); };
}

TEST(AskRequiredFields, BuildsTheQuestionWithTwoCommandLinks) {
  RecordingQuestionDialog::Record record;
  EXPECT_TRUE(askRequiredFields(answering(record, 541), u"Parameter 4"));
  EXPECT_EQ(record.calls, (std::vector<std::string>{"ModifyFlags", "SetMainIcon", "SetWindowTitle", "SetMainInstruction",
                                                     "SetButtons", "SetDefaultButton", "DoModal"}));
  EXPECT_EQ(record.flags, 0x0010u);
  EXPECT_EQ(record.icon, 11020);
  EXPECT_EQ(record.title, u"Required field not Mapped");
  EXPECT_EQ(record.instruction,
            u"One or more fields that are marked as 'Required' have not been mapped. What would you like to do?");
  EXPECT_EQ(record.helpPrompt, 0u);
  EXPECT_EQ(record.buttons,
            (std::vector<QuestionButton>{
                {541, u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Parameter 4'."},
                {542, u"Ignore Requirement\nDo not map the Required fields and close this dialog immediately."}}));
  EXPECT_EQ(record.defaultButton, 541);
}

struct AnswerCase {
  const char* name;
  std::int32_t selected;
  bool map;
};

class AskRequiredFieldsAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(AskRequiredFieldsAnswer, OnlyIgnoreLetsThePageGo) {
  RecordingQuestionDialog::Record record;
  EXPECT_EQ(askRequiredFields(answering(record, GetParam().selected), u"Parameter 1"), GetParam().map);
}

INSTANTIATE_TEST_SUITE_P(Cases, AskRequiredFieldsAnswer,
                         testing::Values(AnswerCase{"map", 541, true}, AnswerCase{"ignore", 542, false},
                                         AnswerCase{"dialogDidNotAppear", 0, true},
                                         AnswerCase{"cancelledSomehow", 2, true}),
                         [](const auto& info) { return info.param.name; });

TEST(AskRequiredFields, NoDialogAtAllCountsAsMap) {
  EXPECT_TRUE(askRequiredFields([] { return std::unique_ptr<IQuestionDialog>(); }, u"Parameter 1"));
  EXPECT_TRUE(askRequiredFields(QuestionDialogFactory{}, u"Parameter 1"));
}

TEST(AskRequiredFields, APercentInTheNameIsNotRead) {
  RecordingQuestionDialog::Record record;
  askRequiredFields(answering(record, 541), u"Rate %1 %%");
  EXPECT_EQ(record.buttons.at(0).text,
            u"Map Required Fields\nReturn to the dialog and map the required fields, beginning with 'Rate %1 %%'.");
}

class RequiredCheck : public testing::Test, protected test_support::HostWithTable {
 protected:
  void SetUp() override { page.setTable(&table); }

  void buildAndCollapse() {
    page.onInitDialog();
    for (PropertyGroup& group : page.grid().groups()) group.expanded = false;
  }

  std::vector<std::u16string> asked;
  bool answerMap = true;
  CPropertyPageSetupMapping page{[this](std::u16string_view name) {
    asked.emplace_back(name);
    return answerMap;
  }};
};

TEST_F(RequiredCheck, MapKeepsThePageWithTheItemSelectedAndShown) {
  table.row(3).required = 1;
  buildAndCollapse();
  EXPECT_FALSE(page.onKillActive());
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"Parameter 4"}));
  CMappedProperty* fourth = page.grid().findItem(3);
  EXPECT_EQ(page.grid().selected(), fourth);
  EXPECT_EQ(page.grid().lastShown(), fourth);
  EXPECT_TRUE(page.grid().groups()[0].expanded);
}

TEST_F(RequiredCheck, IgnoreLeavesWithoutLookingFurther) {
  table.row(3).required = 1;
  table.row(9).required = 1;
  answerMap = false;
  buildAndCollapse();
  EXPECT_TRUE(page.onKillActive());
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"Parameter 4"}));
  EXPECT_EQ(page.grid().selected(), nullptr);
}

TEST_F(RequiredCheck, TheFirstUnsatisfiedItemInGridOrderIsNamed) {
  // Row 1 sits in the second group, so row 15 comes first in the grid.
  table.row(1).placement = 2;
  table.row(1).required = 1;
  table.row(15).required = 1;
  table.row(0).required = 1;
  table.row(0).source = u"INV";
  table.row(0).sourceType = KFX_REL_INDEXFIELD;
  buildAndCollapse();
  EXPECT_FALSE(page.onKillActive());
  EXPECT_EQ(asked, (std::vector<std::u16string>{u"Parameter 16"}));
  EXPECT_FALSE(page.grid().groups()[1].expanded);
}

TEST_F(RequiredCheck, AnEmptyConstantIsUnmappedAndATypedOneIsMapped) {
  table.row(5).required = 1;
  page.onInitDialog();
  CMappedProperty* sixth = page.grid().findItem(5);
  (void)sixth->openChoiceMenu();
  page.onCommand(32777);
  EXPECT_FALSE(page.onKillActive());
  sixth->endEdit(u"ABC");
  asked.clear();
  EXPECT_TRUE(page.onKillActive());
  EXPECT_TRUE(asked.empty());
}

TEST(RequiredCheckWithoutQuestion, KeepsThePageAsWhenNoDialogAppears) {
  test_support::HostWithTable setup;
  setup.table.row(0).required = 1;
  CPropertyPageSetupMapping page;
  page.setTable(&setup.table);
  page.onInitDialog();
  EXPECT_FALSE(page.onKillActive());
}

}  // namespace
}  // namespace quorlex
