#pragma once
// A CXTaskDialog over the in-memory platform, with a recording callback on its request. The test
// script runs inside the modal loop, after initialisation and before destruction.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "taskdialog/task_dialog.h"
#include "tests/taskdialog/fake_platform.h"
#include "tests/taskdialog/recording_callback.h"

namespace quorlex::test_support {

class TaskDialogFixture : public ::testing::Test {
 protected:
  using Script = std::function<void(FakeDialogWindow&, CXTaskDialog&)>;

  TaskDialogFixture() {
    config.cbSize = taskDialogConfigSize;
    config.hInstance = callerModule;
    callback.install(config);
  }

  ResultCode run(Script script) {
    dialog = std::make_unique<CXTaskDialog>(platform.services());
    platform.script = [this, script](FakeDialogWindow& window, IDialogMessages&) {
      if (script) script(window, *dialog);
    };
    return dialog->TaskDialogIndirect(&config, &button, &radio, &verification);
  }

  void setButtons(std::vector<TASKDIALOG_BUTTON> custom) {
    buttons = std::move(custom);
    config.pButtons = buttons.data();
    config.cButtons = static_cast<std::uint32_t>(buttons.size());
  }
  void setRadioButtons(std::vector<TASKDIALOG_BUTTON> custom) {
    radios = std::move(custom);
    config.pRadioButtons = radios.data();
    config.cRadioButtons = static_cast<std::uint32_t>(radios.size());
  }
  void addFlags(std::uint32_t add) { setFlags(config, flagsOf(config) | add); }

  FakeDialogWindow& window() { return *platform.window; }
  const ElementIds& ids() const { return dialog->layout().ids; }

  static TASKDIALOG_BUTTON makeButton(int id, const char16_t* text) {
    TASKDIALOG_BUTTON b{};
    b.nButtonID = id;
    b.pszButtonText = recordText(text);
    return b;
  }

  FakePlatform platform;  // first, so that it outlives the dialog
  RecordingCallback callback;
  TASKDIALOGCONFIG config{};
  std::unique_ptr<CXTaskDialog> dialog;
  std::vector<TASKDIALOG_BUTTON> buttons;
  std::vector<TASKDIALOG_BUTTON> radios;
  int button = -100;
  int radio = -100;
  int verification = -100;
};

}  // namespace quorlex::test_support
