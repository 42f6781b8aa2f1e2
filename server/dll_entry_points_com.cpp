// The component's four entry points and its load and unload.
#include <winsock2.h>
#include <windows.h>

#include <objbase.h>

#include <cwchar>

#include "common/result_code.h"
#include "server/class_objects_com.h"
#include "server/com_guard.h"
#include "server/module_lock.h"
#include "server/registration_com.h"
#include "server/socket_layer_win.h"
#include "setup/property_grid_window_win32.h"
#include "taskdialog/task_dialog_services_win32.h"

namespace {

// Inside the loader lock no window may be shown: the refusal goes to the debugger output,
// and the host sees the load fail (ERROR_DLL_INIT_FAILED).
// A fixed buffer: nothing that allocates or throws runs inside DllMain.
void reportRefusedLoad(int error) {
  wchar_t text[160];
  (void)swprintf(text, sizeof text / sizeof text[0],
                 L"quorlex: the socket layer (version 1.1) could not be started, error %d; "
                 L"the component refuses to load.\n",
                 error);
  OutputDebugStringW(text);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      if (int error = quorlex::startSocketLayer(); error != 0) {
        reportRefusedLoad(error);
        return FALSE;
      }
      // Only pointers to static objects are stored: nothing loads or allocates here.
      quorlex::installWin32TaskDialogServices();
      return TRUE;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved set) the socket layer may be gone already, and the window
      // classes go with the process.
      if (!reserved) {
        quorlex::stopSocketLayer();
        quorlex::unregisterPropertyGridClass(module);
      }
      return TRUE;
    default:
      return TRUE;
  }
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, LPVOID* out) {
  return quorlex::guardedCall([&] { return quorlex::getClassObject(classId, iid, out); });
}

// S_FALSE while an object of the component is alive or a host holds a server lock.
STDAPI DllCanUnloadNow() { return quorlex::moduleLockCount() > 0 ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() { return quorlex::guardedCall(quorlex::registerServer); }

STDAPI DllUnregisterServer() { return quorlex::guardedCall(quorlex::unregisterServer); }
