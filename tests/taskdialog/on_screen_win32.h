#pragma once
// Requests for the dialogs on screen, written as quorlex-taskdialog reads them, and the two ways
// of showing one: the platform's task dialog and the own dialog.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "common/own_module_win32.h"
#include "taskdialog/task_dialog.h"
#include "taskdialog/task_dialog_client_win32.h"
#include "taskdialog/task_dialog_services_win32.h"
#include "tests/taskdialog/dialog_driver_win32.h"
#include "tools/taskdialog/task_dialog_request_json.h"

namespace quorlex::test_support {

inline std::unique_ptr<tools::TaskDialogRequest> request(const std::string& json) {
  std::string error;
  auto read = tools::readTaskDialogRequest(json, error);
  EXPECT_NE(read, nullptr) << error;
  return read;
}

struct Answers {
  ResultCode result = resultUnexpected;
  int button = 0;
  int radioButton = 0;
  int verification = 0;
};

// Shows the request on a thread of its own with the platform's or the own dialog.
class ShownDialog {
 public:
  ShownDialog(const TASKDIALOGCONFIG& config, bool own, const OwnDialogServices& services = win32OwnDialogServices())
      : config_(config),
        dialog_(std::make_unique<CXTaskDialog>(services)),
        thread_([this, own] {
          if (own) {
            answers_.result = dialog_->TaskDialogIndirect(&config_, &answers_.button, &answers_.radioButton,
                                                          &answers_.verification);
          } else {
            Win32PlatformTaskDialog platform;
            answers_.result = platform.run([this](const TaskDialogFunction& show) {
              return show(&config_, &answers_.button, &answers_.radioButton, &answers_.verification);
            });
          }
        }) {}

  HWND window(const std::wstring& title) { return thread_.waitForWindow(title); }
  // The answers once the dialog has ended.
  const Answers& answers() {
    EXPECT_TRUE(thread_.waitForEnd()) << "the dialog did not end";
    return answers_;
  }
  const CXTaskDialog& own() const { return *dialog_; }

 private:
  TASKDIALOGCONFIG config_;
  std::unique_ptr<CXTaskDialog> dialog_;
  Answers answers_;
  DialogThread thread_;
};

}  // namespace quorlex::test_support
