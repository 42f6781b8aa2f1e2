// quorlex-taskdialog: shows one task-dialog request, read as JSON from a file or the standard
// input, with the platform's task dialog or (--own) with the component's own dialog, and prints
// the three answers as one JSON line when it ends. Exit 0; 2 with one message for a bad request
// or a dialog that did not appear.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>

#include "common/own_module_win32.h"
#include "common/text.h"
#include "taskdialog/task_dialog.h"
#include "taskdialog/task_dialog_client_win32.h"
#include "taskdialog/task_dialog_services_win32.h"
#include "tools/taskdialog/task_dialog_request_json.h"

namespace {

constexpr std::string_view usage =
    "usage: quorlex-taskdialog [--own] [REQUEST.json]\n"
    "Shows the task-dialog request (from the file, or the standard input without one or with -)\n"
    "with the platform's task dialog, or with --own with the component's own dialog, and prints\n"
    "{\"button\":ID,\"radioButton\":ID,\"verification\":true|false} when it ends.\n";

constexpr int exitBadRequest = 2;

int fail(const std::string& message) {
  std::cerr << "quorlex-taskdialog: " << message << "\n";
  return exitBadRequest;
}

bool readAll(const std::string& path, std::string& out) {
  if (path.empty() || path == "-") {
    out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  out.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

std::string codeText(quorlex::ResultCode code) {
  const std::u16string text = quorlex::formatCode(code);
  return std::string(text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv) {
  bool own = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--own") {
      own = true;
    } else if (argument == "--help" || argument == "-h") {
      std::cout << usage;
      return 0;
    } else if (argument.size() > 1 && argument.front() == '-') {
      std::cerr << usage;
      return fail("unknown option " + std::string(argument));
    } else if (path.empty()) {
      path = argument;
    } else {
      std::cerr << usage;
      return fail("one request at a time");
    }
  }

  std::string text;
  if (!readAll(path, text)) return fail("cannot read " + path);
  std::string error;
  std::unique_ptr<quorlex::tools::TaskDialogRequest> request = quorlex::tools::readTaskDialogRequest(text, error);
  if (!request) return fail("bad request: " + error);

  const TASKDIALOGCONFIG config = request->config(quorlex::ownModule());
  int button = 0;
  int radioButton = 0;
  int verification = 0;
  quorlex::ResultCode result = quorlex::resultOk;
  if (own) {
    quorlex::CXTaskDialog dialog(quorlex::win32OwnDialogServices());
    result = dialog.TaskDialogIndirect(&config, &button, &radioButton, &verification);
  } else {
    quorlex::Win32PlatformTaskDialog platform;
    result = platform.run([&](const quorlex::TaskDialogFunction& show) {
      return show(&config, &button, &radioButton, &verification);
    });
  }
  if (quorlex::failed(result)) return fail("the dialog did not appear (" + codeText(result) + ")");
  // The own dialog answers -1 when its modal loop could not create the window.
  if (button == -1) return fail("the dialog's window could not be created (" + codeText(result) + ")");
  std::cout << quorlex::tools::answersJson(button, radioButton, verification != 0) << std::endl;
  return 0;
}
