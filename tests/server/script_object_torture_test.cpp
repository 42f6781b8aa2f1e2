// Every method of both script objects, as a host calls them, with the n-th allocation of the
// calling thread failing, for every n until a call needs fewer: no exception leaves a method,
// a failure is answered with a failure code (or, for a script method, KFX_REL_ERROR), and a
// method that answers S_OK did what it was asked. A document counts as released only when
// the peer on 127.0.0.1 received the whole, exact body.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/com_apartment.h"
#include "common/text.h"
#include "common/unique_bstr.h"
#include "release/host_log.h"
#include "release/release_script_com.h"
#include "resources/quorlex_h.h"
#include "testhost/host_dispatch_objects.h"
#include "testhost/memory_host.h"
#include "setup/setup_script_com.h"
#include "tests/support/failing_allocation.h"
#include "tests/support/loopback_server.h"
#include "tests/support/script_invoke_win32.h"

namespace quorlex {
namespace {

using test_support::byReference;
using test_support::objectArgument;

constexpr long long enoughRuns = 20000;  // a bound, far above what any call needs
constexpr int repliesReady = 20000;
constexpr LONG untouched = 77;  // a host's variable that the call has not written

// A fresh pair of script objects for each run, with the host's data objects at hand.
struct Scripts {
  com_ptr<IKfxReleaseScript> release;
  com_ptr<IKfxReleaseSetupScript> setup;
  IDispatch* documentData = nullptr;
  IDispatch* setupData = nullptr;
};

// What a call answered: its code, for a script method the KfxReturnValue, and what else it
// gave back (a count, an id, whether the object came back).
struct Answer {
  HRESULT code = E_UNEXPECTED;
  LONG outcome = KFX_REL_ERROR;
  LONG detail = 0;
};

struct MethodCase {
  std::string name;
  // Sets the objects up before the failing run (allocations there fail nothing).
  std::function<void(Scripts&)> prepare;
  std::function<Answer(Scripts&)> call;
  // Whether an S_OK answer is true: the method did what it was asked.
  std::function<bool(Scripts&, const Answer&)> done;
};

// Invoke as a late-bound host calls it, with the arguments in declared order; unlike the
// shared helper it allocates nothing of its own, so every failing allocation is the object's.
template <std::size_t count>
HRESULT invokeScript(IDispatch& dispatch, DISPID member, WORD flags, std::array<VARIANT, count> arguments,
                     bool namedPut = false) {
  std::reverse(arguments.begin(), arguments.end());  // Invoke lists the last argument first
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS parameters{arguments.data(), namedPut ? &put : nullptr, static_cast<UINT>(count), namedPut ? 1u : 0u};
  UINT argumentError = 0;
  return dispatch.Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, nullptr, nullptr, &argumentError);
}

Answer scriptMethod(HRESULT (*method)(Scripts&, ::KfxReturnValue*), Scripts& scripts) {
  ::KfxReturnValue outcome = ::KFX_REL_SUCCESS;
  Answer answer;
  answer.code = method(scripts, &outcome);
  answer.outcome = outcome;
  return answer;
}

void withDocumentData(Scripts& scripts) {
  ASSERT_EQ(scripts.release->putref_DocumentData(scripts.documentData), S_OK);
}
void withSetupData(Scripts& scripts) { ASSERT_EQ(scripts.setup->putref_SetupData(scripts.setupData), S_OK); }
void nothingToPrepare(Scripts&) {}
bool anyAnswer(Scripts&, const Answer&) { return true; }

class ScriptObjectTorture : public ::testing::TestWithParam<long long> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(apartment.result()));
    host.record().userName = u"clerk";
    host.record().password = u"s3cret";
    host.record().customProperties = {{u"serverURL", fromUtf8("http://127.0.0.1:" + std::to_string(server.port()))},
                                      {u"ExitProgramProgram", u"INVPGM"},
                                      {u"ExitProgramLibrary", u"QGPL"},
                                      {u"ExitProgramDelimiter", u"|"}};
    host.setDocumentValues({MemoryValue{u"PARM1", u"INV-2024-0042 Müller €", u"", {}},
                            MemoryValue{u"PARM2", u"", u"Lines", {u"row one", u"row two", u"row three"}},
                            MemoryValue{u"PARM20", std::u16string(3000, u'x'), u"", {}}});
    ASSERT_EQ(exposeReleaseData(host.releaseData(), documentData), S_OK);
    ASSERT_EQ(exposeSetupData(host.setupData(), setupData), S_OK);
  }
  void TearDown() override { clearLoggingTarget(); }

  Scripts freshScripts() {
    Scripts scripts;
    com_ptr<IUnknown> release;
    com_ptr<IUnknown> setup;
    EXPECT_EQ(createReleaseScriptObject(nullptr, release), S_OK);
    EXPECT_EQ(createSetupScriptObject(nullptr, setup), S_OK);
    EXPECT_EQ(release.query(scripts.release), S_OK);
    EXPECT_EQ(setup.query(scripts.setup), S_OK);
    scripts.documentData = documentData.get();
    scripts.setupData = setupData.get();
    return scripts;
  }

  // The body of the last request the peer received.
  std::string lastBody() const {
    std::vector<std::string> requests = server.requests();
    if (requests.empty()) return {};
    return requests.back().substr(requests.back().find("\r\n\r\n") + 4);
  }

  ComApartment apartment;
  test_support::LoopbackServer server{
      std::vector<std::string>(repliesReady, test_support::httpReply(200, "OK", "<reply/>"))};
  MemoryHost host;
  com_ptr<IDispatch> documentData;
  com_ptr<IDispatch> setupData;
};

// IUnknown's and IDispatch's own methods of the object that script gives, with one member
// looked up by name.
std::vector<MethodCase> dispatchCases(const std::string& prefix, IDispatch* (*script)(Scripts&),
                                      const wchar_t* member, DISPID memberId) {
  return {
      {prefix + "_QueryInterface", nothingToPrepare,
       [script](Scripts& s) {
         com_ptr<IDispatch> dispatch;
         return Answer{script(s)->QueryInterface(IID_IDispatch, dispatch.put_void())};
       },
       anyAnswer},
      {prefix + "_GetTypeInfoCount", nothingToPrepare,
       [script](Scripts& s) {
         UINT count = 0;
         Answer answer{script(s)->GetTypeInfoCount(&count)};
         answer.detail = static_cast<LONG>(count);
         return answer;
       },
       [](Scripts&, const Answer& answer) { return answer.detail == 1; }},
      {prefix + "_GetTypeInfo", nothingToPrepare,
       [script](Scripts& s) {
         com_ptr<ITypeInfo> info;
         Answer answer{script(s)->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())};
         answer.detail = info ? 1 : 0;
         return answer;
       },
       [](Scripts&, const Answer& answer) { return answer.detail == 1; }},
      {prefix + "_GetIDsOfNames", nothingToPrepare,
       [script, member](Scripts& s) {
         LPOLESTR name = const_cast<LPOLESTR>(member);
         DISPID id = DISPID_UNKNOWN;
         Answer answer{script(s)->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)};
         answer.detail = id;
         return answer;
       },
       [memberId](Scripts&, const Answer& answer) { return answer.detail == memberId; }},
  };
}

// The calls of both objects' tables: each method by vtable slot, and the dispatch methods as a
// late-bound host uses them.
std::vector<MethodCase> methodCases(const std::function<bool(const Answer&)>& releasedWhole) {
  auto released = [releasedWhole](Scripts&, const Answer& answer) { return releasedWhole(answer); };
  std::vector<MethodCase> cases = dispatchCases(
      "release", [](Scripts& s) -> IDispatch* { return s.release.get(); }, L"ReleaseDoc", releaseDocId);
  std::vector<MethodCase> setupCases = dispatchCases(
      "setup", [](Scripts& s) -> IDispatch* { return s.setup.get(); }, L"ActionEvent", setupActionEventId);
  cases.insert(cases.end(), setupCases.begin(), setupCases.end());
  cases.insert(cases.end(), {
      {"release_Invoke_ReleaseDoc", withDocumentData,
       [](Scripts& s) {
         LONG outcome = untouched;
         Answer answer{invokeScript<1>(*s.release.get(), releaseDocId, DISPATCH_METHOD, {byReference(&outcome)})};
         answer.outcome = outcome;
         return answer;
       },
       released},
      {"release_Invoke_DocumentData", nothingToPrepare,
       [](Scripts& s) {
         return Answer{invokeScript<1>(*s.release.get(), releaseDocumentDataId, DISPATCH_PROPERTYPUTREF,
                                       {objectArgument(s.documentData)}, true)};
       },
       [](Scripts& s, const Answer&) {
         com_ptr<IDispatch> read;
         return s.release->get_DocumentData(read.put()) == S_OK && read.get() == s.documentData;
       }},
      {"release_OpenScript", withDocumentData,
       [](Scripts& s) { return scriptMethod([](Scripts& t, ::KfxReturnValue* r) { return t.release->OpenScript(r); }, s); },
       anyAnswer},
      {"release_ReleaseDoc", withDocumentData,
       [](Scripts& s) { return scriptMethod([](Scripts& t, ::KfxReturnValue* r) { return t.release->ReleaseDoc(r); }, s); },
       released},
      {"release_CloseScript", withDocumentData,
       [](Scripts& s) {
         return scriptMethod([](Scripts& t, ::KfxReturnValue* r) { return t.release->CloseScript(r); }, s);
       },
       anyAnswer},
      {"release_get_DocumentData", withDocumentData,
       [](Scripts& s) {
         com_ptr<IDispatch> read;
         Answer answer{s.release->get_DocumentData(read.put())};
         answer.detail = read.get() == s.documentData ? 1 : 0;
         return answer;
       },
       [](Scripts&, const Answer& answer) { return answer.detail == 1; }},
      {"release_putref_DocumentData", nothingToPrepare,
       [](Scripts& s) { return Answer{s.release->putref_DocumentData(s.documentData)}; },
       [](Scripts& s, const Answer&) {
         com_ptr<IDispatch> read;
         return s.release->get_DocumentData(read.put()) == S_OK && read.get() == s.documentData;
       }},

      {"setup_Invoke_ActionEvent", withSetupData,
       [](Scripts& s) {
         unique_bstr data1 = unique_bstr::from(u"Invoices");
         unique_bstr data2 = unique_bstr::from(u"Invoices 2024");
         VARIANT action;
         V_VT(&action) = VT_I4;
         V_I4(&action) = 0;  // KFX_REL_DOCCLASS_RENAME
         VARIANT first;
         V_VT(&first) = VT_BSTR;
         V_BSTR(&first) = data1.get();
         VARIANT second;
         V_VT(&second) = VT_BSTR;
         V_BSTR(&second) = data2.get();
         LONG outcome = untouched;
         Answer answer{invokeScript<4>(*s.setup.get(), setupActionEventId, DISPATCH_METHOD,
                                       {action, first, second, byReference(&outcome)})};
         answer.outcome = outcome;
         return answer;
       },
       anyAnswer},
      {"setup_Invoke_SetupData", nothingToPrepare,
       [](Scripts& s) {
         return Answer{invokeScript<1>(*s.setup.get(), setupDataId, DISPATCH_PROPERTYPUTREF,
                                       {objectArgument(s.setupData)}, true)};
       },
       [](Scripts& s, const Answer&) {
         com_ptr<IDispatch> read;
         return s.setup->get_SetupData(read.put()) == S_OK && read.get() == s.setupData;
       }},
      {"setup_OpenScript", withSetupData,
       [](Scripts& s) { return scriptMethod([](Scripts& t, ::KfxReturnValue* r) { return t.setup->OpenScript(r); }, s); },
       anyAnswer},
      // Without a setup-data object, as no sheet may open in this test.
      {"setup_RunUI", nothingToPrepare,
       [](Scripts& s) { return scriptMethod([](Scripts& t, ::KfxReturnValue* r) { return t.setup->RunUI(r); }, s); },
       [](Scripts&, const Answer& answer) { return answer.outcome == KFX_REL_ERROR; }},
      {"setup_CloseScript", withSetupData,
       [](Scripts& s) { return scriptMethod([](Scripts& t, ::KfxReturnValue* r) { return t.setup->CloseScript(r); }, s); },
       anyAnswer},
      {"setup_ActionEvent", withSetupData,
       [](Scripts& s) {
         unique_bstr data1 = unique_bstr::from(u"Invoices");
         unique_bstr data2 = unique_bstr::from(u"Invoices 2024");
         ::KfxReturnValue outcome = ::KFX_REL_SUCCESS;
         Answer answer{s.setup->ActionEvent(::KFX_REL_DOCCLASS_RENAME, data1.get(), data2.get(), &outcome)};
         answer.outcome = outcome;
         return answer;
       },
       anyAnswer},
      {"setup_get_SetupData", withSetupData,
       [](Scripts& s) {
         com_ptr<IDispatch> read;
         Answer answer{s.setup->get_SetupData(read.put())};
         answer.detail = read.get() == s.setupData ? 1 : 0;
         return answer;
       },
       [](Scripts&, const Answer& answer) { return answer.detail == 1; }},
      {"setup_putref_SetupData", nothingToPrepare,
       [](Scripts& s) { return Answer{s.setup->putref_SetupData(s.setupData)}; },
       [](Scripts& s, const Answer&) {
         com_ptr<IDispatch> read;
         return s.setup->get_SetupData(read.put()) == S_OK && read.get() == s.setupData;
       }},
  });
  return cases;
}

TEST_P(ScriptObjectTorture, EveryMethodAnswersAFailureCodeAndLetsNoExceptionOut) {
  // The whole body, as a release without failures puts it on the wire.
  {
    Scripts scripts = freshScripts();
    withDocumentData(scripts);
    ::KfxReturnValue outcome = ::KFX_REL_ERROR;
    ASSERT_EQ(scripts.release->ReleaseDoc(&outcome), S_OK);
    ASSERT_EQ(outcome, ::KFX_REL_SUCCESS);
  }
  const std::string wholeBody = lastBody();
  ASSERT_GT(wholeBody.size(), 3000u);
  std::size_t requestsSoFar = server.requests().size();

  auto releasedWhole = [&](const Answer& answer) {
    if (answer.outcome != KFX_REL_SUCCESS) return true;  // not released: nothing to prove
    bool posted = server.requests().size() > requestsSoFar && lastBody() == wholeBody;
    requestsSoFar = server.requests().size();
    return posted;
  };

  for (const MethodCase& method : methodCases(releasedWhole)) {
    SCOPED_TRACE(method.name);
    long long n = 0;
    for (; n < enoughRuns; ++n) {
      Scripts scripts = freshScripts();
      method.prepare(scripts);
      requestsSoFar = server.requests().size();
      Answer answer;
      bool escaped = false;
      bool failed = test_support::withAllocationFailing(n, GetParam(), [&] {
        try {
          answer = method.call(scripts);
        } catch (...) {
          escaped = true;
        }
      });
      ASSERT_FALSE(escaped) << "an exception left the method with allocation " << n << " failing";
      ASSERT_TRUE(answer.code == S_OK || FAILED(answer.code))
          << "allocation " << n << ": 0x" << std::hex << static_cast<unsigned long>(answer.code);
      if (answer.code == S_OK) {
        ASSERT_TRUE(method.done(scripts, answer)) << "S_OK without the work done, allocation " << n << " failing";
      } else {
        ASSERT_NE(answer.outcome, KFX_REL_SUCCESS) << "a failure code beside success, allocation " << n;
      }
      if (!failed) break;
    }
    EXPECT_LT(n, enoughRuns);
    clearLoggingTarget();
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ScriptObjectTorture, ::testing::Values(1LL, test_support::everyLaterAllocation),
                         [](const ::testing::TestParamInfo<long long>& info) {
                           return info.param == 1 ? std::string("one_failing") : std::string("every_later_one");
                         });

}  // namespace
}  // namespace quorlex
