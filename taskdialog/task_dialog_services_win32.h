#pragma once
// The task dialog's Windows services, made once per process: the own dialog's platform and the
// client's (platform dialog, framing, help, the component's module for text and icon ids).

#include "taskdialog/own_dialog_services.h"
#include "taskdialog/task_dialog_client.h"

namespace quorlex {

// Static objects only: safe from the component's load, which runs under the loader lock.
const OwnDialogServices& win32OwnDialogServices();
TaskDialogClientServices win32TaskDialogClientServices();

// Installs the client's services once, for every client built without its own; later calls do
// nothing.
void installWin32TaskDialogServices();

}  // namespace quorlex
