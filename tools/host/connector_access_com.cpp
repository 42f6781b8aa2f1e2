// The component reached as a host reaches it: the release and setup scripts created by their
// ProgIDs from the registered quorlex.dll, the in-memory host handed to them as IDispatch
// objects, and the scripts driven through IKfxReleaseScript and IKfxReleaseSetupScript.
#include <fcntl.h>
#include <io.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "common/com_apartment.h"
#include "common/com_ptr.h"
#include "common/result_code.h"
#include "common/text.h"
#include "gateway/describe_result.h"
#include "resources/quorlex_h.h"
#include "testhost/host_dispatch_objects.h"
#include "tools/host/connector_access.h"
#include "tools/host/request_faults.h"
#include "tools/host/setup_options.h"
#include "tools/host/setup_run.h"

namespace quorlex::host {
namespace {

constexpr const wchar_t* releaseScriptProgId = L"quorlex.QuorlexExportConnector";
constexpr const wchar_t* setupScriptProgId = L"quorlex.TarvSetupScript";

std::string failure(const std::string& what, HRESULT code) {
  return what + ": " + toUtf8(formatCode(code)) + ", " + toUtf8(describeResult(code));
}

template <typename Script>
HRESULT createScript(const wchar_t* progId, REFIID iid, com_ptr<Script>& out) {
  CLSID scriptClass{};
  HRESULT code = CLSIDFromProgID(progId, &scriptClass);
  if (FAILED(code)) return code;
  return CoCreateInstance(scriptClass, nullptr, CLSCTX_INPROC_SERVER, iid, out.put_void());
}

// One of the script's methods by its slot; a failing call leaves the result as it was set.
template <typename Script>
void call(HRESULT (STDMETHODCALLTYPE Script::*method)(::KfxReturnValue*), Script& script, KfxReturnValue& result) {
  ::KfxReturnValue outcome = static_cast<::KfxReturnValue>(result);
  if (SUCCEEDED((script.*method)(&outcome))) result = static_cast<KfxReturnValue>(outcome);
}

constexpr std::string_view sheetUsage =
    "usage: quorlex-host.exe setup FILE [--show]\n"
    "\n"
    "Shows the setup sheet of the registered component (quorlex.TarvSetupScript) on the setup\n"
    "record of the host file FILE, as the host's administration module does. After OK the\n"
    "file is replaced with what the sheet stored; after Cancel it is left as it was.\n"
    "  --show   afterwards, print the General fields (the password masked) and the twenty\n"
    "           parameters as the record holds them\n"
    "--set and --map are for the Linux quorlex-host. Exit status: 0 after OK or Cancel, 2 for a\n"
    "bad command line or host file or a component that cannot be created.\n";

int setupFailure(std::ostream& err, const std::string& message) {
  err << "quorlex-host: " << message << "\n";
  return 2;
}

// The administration module's order of calls on the record: SetupData, OpenScript, RunUI,
// CloseScript. Empty when they ran, else why the setup script could not be reached.
std::string runSetupScript(MemoryHost& host) {
  ComApartment apartment;
  if (FAILED(apartment.result())) return failure("cannot enter a COM apartment", apartment.result());
  com_ptr<IDispatch> setupData;
  if (HRESULT code = exposeSetupData(host.setupData(), setupData); FAILED(code)) {
    return failure("cannot expose the host's setup data", code);
  }
  com_ptr<IKfxReleaseSetupScript> script;
  if (HRESULT code = createScript(setupScriptProgId, IID_IKfxReleaseSetupScript, script); FAILED(code)) {
    return failure("cannot create " + toUtf8(reinterpret_cast<const char16_t*>(setupScriptProgId)), code);
  }
  if (HRESULT code = script->putref_SetupData(setupData.get()); FAILED(code)) return failure("SetupData refused", code);
  KfxReturnValue result = KFX_REL_ERROR;
  call(&IKfxReleaseSetupScript::OpenScript, *script.get(), result);
  call(&IKfxReleaseSetupScript::RunUI, *script.get(), result);
  call(&IKfxReleaseSetupScript::CloseScript, *script.get(), result);
  return {};
}

}  // namespace

BatchOutcome runBatch(const HostFile& file, const ReleaseObserver& observer, std::string& error) {
  // The requests are the component's own, out of this program's reach.
  if (std::getenv(requestFaultVariable)) {
    error = std::string(requestFaultVariable) + ": requests made inside the component cannot be made to fail";
    return BatchOutcome::CannotRun;
  }
  // The events are compared byte for byte with the Linux host's: no CR before each LF.
  (void)_setmode(_fileno(stdout), _O_BINARY);

  ComApartment apartment;
  if (FAILED(apartment.result())) {
    error = failure("cannot enter a COM apartment", apartment.result());
    return BatchOutcome::CannotRun;
  }
  MemoryHost host;
  prepareHost(host, file, observer);
  com_ptr<IDispatch> documentData;
  if (HRESULT code = exposeReleaseData(host.releaseData(), documentData); FAILED(code)) {
    error = failure("cannot expose the host's document data", code);
    return BatchOutcome::CannotRun;
  }
  com_ptr<IKfxReleaseScript> script;
  if (HRESULT code = createScript(releaseScriptProgId, IID_IKfxReleaseScript, script); FAILED(code)) {
    error = failure("cannot create " + toUtf8(reinterpret_cast<const char16_t*>(releaseScriptProgId)), code);
    return BatchOutcome::NotAllReleased;
  }
  if (HRESULT code = script->putref_DocumentData(documentData.get()); FAILED(code)) {
    error = failure("DocumentData refused", code);
    return BatchOutcome::NotAllReleased;
  }
  IKfxReleaseScript& calls = *script.get();
  bool allReleased = driveBatch(file, host, observer,
                                {[&](KfxReturnValue& result) { call(&IKfxReleaseScript::OpenScript, calls, result); },
                                 [&](KfxReturnValue& result) { call(&IKfxReleaseScript::ReleaseDoc, calls, result); },
                                 [&](KfxReturnValue& result) { call(&IKfxReleaseScript::CloseScript, calls, result); }});
  return allReleased ? BatchOutcome::AllReleased : BatchOutcome::NotAllReleased;
}

// The real setup sheet, shown by the component's RunUI, where the administrator makes the
// changes; the file is replaced only when the sheet's OK reached Apply.
int runSetup(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
  std::string error;
  std::optional<SetupOptions> options = parseSetupOptions(arguments, error, true);
  if (!options) {
    err << "quorlex-host: " << error << "\n" << sheetUsage;
    return 2;
  }
  if (options->help) {
    out << sheetUsage;
    return 0;
  }
  if (!options->changes.empty()) {
    return setupFailure(err, "setup: --set and --map are made by the Linux quorlex-host; on Windows the setup sheet "
                             "is shown: run quorlex-host.exe setup FILE and make the changes there");
  }
  std::optional<HostFile> file = loadHostFile(options->path, error);
  if (!file) return setupFailure(err, error);
  MemoryHost host;
  host.record() = setupRecord(*file);
  error = runSetupScript(host);
  if (!error.empty()) return setupFailure(err, error);
  SetupRecord record = host.record();
  if (host.appliedRecord()) {
    record = *host.appliedRecord();
    storeSetupSettings(*file, record);
    if (!saveHostFile(*file, error)) return setupFailure(err, error);
  }
  if (options->show) out << describeSetup(record) << std::flush;
  return 0;
}

}  // namespace quorlex::host
