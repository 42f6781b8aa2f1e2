#include "tools/taskdialog/task_dialog_request_json.h"

#include <gtest/gtest.h>

#include <string>

namespace quorlex::tools {
namespace {

std::u16string textOf(RecordText text) { return systemText(text); }

// A copy of a record field: the portable record is packed, so no reference may bind to one.
template <class T>
T value(T field) {
  return field;
}

TEST(TaskDialogRequestJson, EveryFieldReachesTheRecord) {
  std::string error;
  auto request = readTaskDialogRequest(R"({"windowTitle": "Title", "mainInstruction": 11012, "content": "Grüße",
    "verificationText": "Check", "expandedInformation": "Details", "expandedControlText": "Less",
    "collapsedControlText": "More", "footer": "Footer", "flags": ["TDF_USE_COMMAND_LINKS", "TDF_CALLBACK_TIMER"],
    "commonButtons": ["OK", "Cancel"], "buttons": [{"id": 541, "text": "Map\nNote"}, {"id": 542, "text": 11014}],
    "defaultButton": 542, "radioButtons": [{"id": 10, "text": "Ten"}], "defaultRadioButton": 10,
    "mainIcon": "warning", "footerIcon": 11024, "width": 200})",
                                       error);
  ASSERT_NE(request, nullptr) << error;
  const auto module = reinterpret_cast<ModuleHandle>(std::uintptr_t{0x400000});
  const TASKDIALOGCONFIG c = request->config(module);
  EXPECT_EQ(value(c.cbSize), taskDialogConfigSize);
  EXPECT_EQ(value(c.hInstance), module);
  EXPECT_EQ(textOf(c.pszWindowTitle), u"Title");
  EXPECT_EQ(textOrIdValue(c.pszMainInstruction), 11012u);
  EXPECT_EQ(textOf(c.pszContent), u"Grüße");
  EXPECT_EQ(textOf(c.pszVerificationText), u"Check");
  EXPECT_EQ(textOf(c.pszExpandedInformation), u"Details");
  EXPECT_EQ(textOf(c.pszExpandedControlText), u"Less");
  EXPECT_EQ(textOf(c.pszCollapsedControlText), u"More");
  EXPECT_EQ(textOf(c.pszFooter), u"Footer");
  EXPECT_EQ(flagsOf(c), TDF_USE_COMMAND_LINKS | TDF_CALLBACK_TIMER);
  EXPECT_EQ(commonButtonsOf(c), TDCBF_OK_BUTTON | TDCBF_CANCEL_BUTTON);
  ASSERT_EQ(value(c.cButtons), 2u);
  EXPECT_EQ(value(c.pButtons[0].nButtonID), 541);
  EXPECT_EQ(textOf(c.pButtons[0].pszButtonText), u"Map\nNote");
  EXPECT_EQ(textOrIdValue(c.pButtons[1].pszButtonText), 11014u);
  EXPECT_EQ(value(c.nDefaultButton), 542);
  ASSERT_EQ(value(c.cRadioButtons), 1u);
  EXPECT_EQ(value(c.pRadioButtons[0].nButtonID), 10);
  EXPECT_EQ(value(c.nDefaultRadioButton), 10);
  EXPECT_EQ(textOrIdValue(c.pszMainIcon), warningIconId);
  EXPECT_EQ(textOrIdValue(c.pszFooterIcon), 11024u);
  EXPECT_EQ(value(c.cxWidth), 200u);
  EXPECT_EQ(value(c.pfCallback), nullptr);
}

TEST(TaskDialogRequestJson, NumbersServeForFlagsAndButtons) {
  std::string error;
  auto request = readTaskDialogRequest(R"({"flags": 17, "commonButtons": 9})", error);
  ASSERT_NE(request, nullptr) << error;
  const TASKDIALOGCONFIG c = request->config(nullptr);
  EXPECT_EQ(flagsOf(c), 0x11u);
  EXPECT_EQ(commonButtonsOf(c), 0x9u);
  EXPECT_EQ(value(c.cButtons), 0u);
  EXPECT_EQ(value(c.pButtons), nullptr);
}

TEST(TaskDialogRequestJson, BadRequestsAreRefusedWithOneMessage) {
  const struct {
    const char* json;
    const char* message;
  } cases[] = {
      {"not json", "not JSON"},
      {"[1]", "not a JSON object"},
      {R"({"title": "x"})", "unknown field \"title\""},
      {R"({"flags": ["TDF_NOTHING"]})", "flags names something unknown"},
      {R"({"flags": ["TDF_USE_HICON_MAIN"]})", "icon handles"},
      {R"({"commonButtons": "OK"})", "commonButtons is neither"},
      {R"({"mainInstruction": 0})", "mainInstruction is neither"},
      {R"({"mainInstruction": 70000})", "mainInstruction is neither"},
      {R"({"buttons": [{"id": 1}]})", "buttons holds an entry without id and text"},
      {R"({"mainIcon": "question"})", "mainIcon names no standard icon"},
      {R"({"width": -1})", "width is negative"},
      {R"({"defaultButton": 1.5})", "defaultButton is not a whole number"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(readTaskDialogRequest(c.json, error), nullptr) << c.json;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.json << ": " << error;
  }
}

TEST(TaskDialogRequestJson, AnswersAreOneJsonLine) {
  EXPECT_EQ(answersJson(541, -1, false), R"({"button":541,"radioButton":-1,"verification":false})");
  EXPECT_EQ(answersJson(1, 11, true), R"({"button":1,"radioButton":11,"verification":true})");
}

}  // namespace
}  // namespace quorlex::tools
