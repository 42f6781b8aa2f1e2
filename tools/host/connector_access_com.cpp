// The component reached as a host reaches it: the release script created by its ProgID from
// the registered quorlex.dll, the in-memory host handed to it as IDispatch objects, and the
// script driven through IKfxReleaseScript.
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

namespace quorlex::host {
namespace {

constexpr const wchar_t* releaseScriptProgId = L"quorlex.QuorlexExportConnector";

std::string failure(const std::string& what, HRESULT code) {
  return what + ": " + toUtf8(formatCode(code)) + ", " + toUtf8(describeResult(code));
}

HRESULT createReleaseScript(com_ptr<IKfxReleaseScript>& out) {
  CLSID releaseClass{};
  HRESULT code = CLSIDFromProgID(releaseScriptProgId, &releaseClass);
  if (FAILED(code)) return code;
  return CoCreateInstance(releaseClass, nullptr, CLSCTX_INPROC_SERVER, IID_IKfxReleaseScript, out.put_void());
}

// One of the script's methods by its slot; a failing call leaves the result as it was set.
void call(HRESULT (STDMETHODCALLTYPE IKfxReleaseScript::*method)(::KfxReturnValue*), IKfxReleaseScript& script,
          KfxReturnValue& result) {
  ::KfxReturnValue outcome = static_cast<::KfxReturnValue>(result);
  if (SUCCEEDED((script.*method)(&outcome))) result = static_cast<KfxReturnValue>(outcome);
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
  if (HRESULT code = createReleaseScript(script); FAILED(code)) {
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

// A host reaches the setup through the setup script's RunUI, which has no sheet in the
// component yet.
int runSetup(std::span<const std::string_view>, std::ostream&, std::ostream& err) {
  err << "quorlex-host: setup: the component's setup script has no setup sheet yet (RunUI answers E_NOTIMPL); "
         "run the setup with the Linux quorlex-host\n";
  return 2;
}

}  // namespace quorlex::host
