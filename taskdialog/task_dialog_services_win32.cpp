#include "taskdialog/task_dialog_services_win32.h"

#include "common/own_module_win32.h"
#include "taskdialog/dialog_runner_win32.h"
#include "taskdialog/own_dialog_platform_win32.h"
#include "taskdialog/task_dialog.h"
#include "taskdialog/task_dialog_client_win32.h"

namespace quorlex {
namespace {

// Constructed before the component's entry point runs, destroyed after the last call.
Win32TaskDialogResources resources;
Win32Graphics graphics;
Win32Display display;
Win32DialogRunner runner;
Win32PlatformTaskDialog platformDialog;
Win32ModalFraming framing;
Win32HelpRequests help;
const OwnDialogServices ownServices{resources, graphics, display, runner};

// Without captures, so that the function object needs no allocation.
ResultCode runOwnDialog(const TASKDIALOGCONFIG* config, int* button, int* radioButton, int* verification) {
  CXTaskDialog dialog(ownServices);
  return dialog.TaskDialogIndirect(config, button, radioButton, verification);
}

bool installed = false;

}  // namespace

const OwnDialogServices& win32OwnDialogServices() { return ownServices; }

TaskDialogClientServices win32TaskDialogClientServices() {
  TaskDialogClientServices services;
  services.platformDialog = &platformDialog;
  services.ownDialog = &runOwnDialog;
  services.framing = &framing;
  services.help = &help;
  services.resourceModule = ownModule();
  return services;
}

void installWin32TaskDialogServices() {
  if (installed) return;
  installed = true;
  installTaskDialogClientServices(win32TaskDialogClientServices());
}

}  // namespace quorlex
