#pragma once
// quorlex-taskdialog's request: one task-dialog request record written as JSON, with the texts
// and button arrays it points into.
//
//   {"windowTitle": "Title", "mainInstruction": 11012, "content": "Text",
//    "flags": ["TDF_USE_COMMAND_LINKS", "TDF_ALLOW_DIALOG_CANCELLATION"],
//    "commonButtons": ["OK", "Cancel"],
//    "buttons": [{"id": 541, "text": "Main\nNote"}], "defaultButton": 541,
//    "radioButtons": [{"id": 10, "text": "One"}], "defaultRadioButton": 10,
//    "verificationText": "...", "expandedInformation": "...", "expandedControlText": "...",
//    "collapsedControlText": "...", "footer": "...", "mainIcon": "warning", "footerIcon": 11024,
//    "width": 200}
//
// A text is a string, or a number naming a string resource of the program. Flags and common
// buttons are numbers or lists of names; an icon is "warning", "error", "information",
// "shield" or a number (an icon resource of the program, or a standard icon id).

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "taskdialog/task_dialog_request.h"

namespace quorlex::tools {

// The record with the texts and button arrays it points into; texts sit in a list so that
// they stay where they are while more are read.
struct TaskDialogRequest {
  TaskDialogRequest() = default;
  TaskDialogRequest(const TaskDialogRequest&) = delete;
  TaskDialogRequest& operator=(const TaskDialogRequest&) = delete;

  // The record, pointing into this request, with hInstance the module given.
  TASKDIALOGCONFIG config(ModuleHandle module) const;

  std::list<std::u16string> texts;
  std::vector<TASKDIALOG_BUTTON> buttons;
  std::vector<TASKDIALOG_BUTTON> radioButtons;
  TASKDIALOGCONFIG record{};
};

// None, with one message in error, for text that is not a request.
std::unique_ptr<TaskDialogRequest> readTaskDialogRequest(std::string_view json, std::string& error);

// The three answers as one JSON line: {"button":541,"radioButton":-1,"verification":false}.
std::string answersJson(int button, int radioButton, bool verification);

}  // namespace quorlex::tools
