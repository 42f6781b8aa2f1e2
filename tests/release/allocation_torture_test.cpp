// ReleaseDoc, the post and the reply reader with the n-th allocation failing, for every n
// until a run needs fewer: each run ends without a crash or an exception (the sanitizers
// see the leaks), and a document counts as released only when the request object was handed
// the whole, exact body.
#include <gtest/gtest.h>

#include <string>

#include "gateway/multipart_form.h"
#include "gateway/reply_reader.h"
#include "release/host_log.h"
#include "release/release_script.h"
#include "testhost/memory_host.h"
#include "tests/support/failing_allocation.h"
#include "tests/support/fake_http_request.h"

namespace quorlex {
namespace {

using test_support::FakeExchange;
using test_support::fakeRequests;
using test_support::withAllocationFailing;
constexpr long long everyOne = test_support::everyLaterAllocation;

const auto modes = ::testing::Values(1LL, 4LL, everyOne);

std::string modeName(const ::testing::TestParamInfo<long long>& info) {
  return info.param == everyOne ? "every_later_one" : std::to_string(info.param) + "_in_a_row";
}

constexpr long long enoughRuns = 200000;  // a bound, far above what any of these needs

class AllocationTorture : public ::testing::Test {
 protected:
  void SetUp() override {
    host.record().userName = u"clerk";
    host.record().password = u"s3cret";
    host.record().customProperties = {{u"serverURL", u"http://gateway:8080"},
                                      {u"ExitProgramProgram", u"INVPGM"},
                                      {u"ExitProgramLibrary", u"QGPL"},
                                      {u"ExitProgramDelimiter", u"|"}};
    host.setDocumentValues({MemoryValue{u"PARM1", u"INV-2024-0042 Müller €", u"", {}},
                            MemoryValue{u"PARM2", u"", u"Lines", {u"row one", u"row two", u"row three"}},
                            MemoryValue{u"PARM20", std::u16string(5000, u'x'), u"", {}}});
    script.setDocumentData(host.releaseData());
  }
  void TearDown() override { clearLoggingTarget(); }

  KfxReturnValue release() {
    KfxReturnValue result = KFX_REL_SUCCESS;
    script.ReleaseDoc(result);
    return result;
  }

  MemoryHost host;
  std::shared_ptr<FakeExchange> exchange = std::make_shared<FakeExchange>();
  releaseScript script{fakeRequests(exchange)};
};

class ReleaseDocTorture : public AllocationTorture, public ::testing::WithParamInterface<long long> {};

TEST_P(ReleaseDocTorture, IsReleasedOnlyWithTheWholeBody) {
  ASSERT_EQ(release(), KFX_REL_SUCCESS);
  const std::string wholeBody = exchange->body;
  ASSERT_GT(wholeBody.size(), 5000u);

  long long n = 0;
  for (; n < enoughRuns; ++n) {
    exchange->body.clear();
    host.clearEvents();
    KfxReturnValue result = KFX_REL_SUCCESS;
    bool failed = withAllocationFailing(n, GetParam(), [&] { result = release(); });
    if (result == KFX_REL_SUCCESS) {
      ASSERT_EQ(exchange->body, wholeBody) << "released with allocation " << n << " failing";
    } else {
      ASSERT_EQ(result, KFX_REL_ERROR);
    }
    if (!failed) break;
  }
  EXPECT_LT(n, enoughRuns);
  EXPECT_GT(n, 10);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReleaseDocTorture, modes, modeName);

// The form is built inside the run too (creating it may throw, as in ReleaseDoc, where that
// is caught); the request object's recording is set up before it.
class PostTorture : public ::testing::TestWithParam<long long> {};

TEST_P(PostTorture, SucceedsOnlyWithTheWholeBodyHanded) {
  const std::u16string value(3000, u'ü');
  auto post = [&value](const HttpRequestFactory& requests, std::u16string& errorText) {
    MultipartForm form;
    if (!form.addField(u"ExitProgramName", u"PGM") || !form.addField(u"PARM1", value)) {
      return false;
    }
    std::unique_ptr<ReplyDocument> reply;
    return form.post(u"http://gateway/rpc/quorlex/", u"user", u"secret", reply, errorText, requests);
  };
  auto reference = std::make_shared<FakeExchange>();
  std::u16string errorText;
  ASSERT_TRUE(post(fakeRequests(reference), errorText));

  long long n = 0;
  for (; n < enoughRuns; ++n) {
    auto exchange = std::make_shared<FakeExchange>();
    HttpRequestFactory requests = fakeRequests(exchange);
    errorText.reserve(200);
    bool result = false;
    bool failed = withAllocationFailing(n, GetParam(), [&] {
      try {
        result = post(requests, errorText);
      } catch (const std::bad_alloc&) {
        errorText = u"no form";
      }
    });
    if (result) {
      ASSERT_EQ(exchange->body, reference->body) << "allocation " << n;
    } else if (GetParam() == 1) {
      // After a second failure in a row there may be no memory for the text either.
      ASSERT_FALSE(errorText.empty()) << "allocation " << n;
    }
    errorText.clear();
    if (!failed) break;
  }
  EXPECT_LT(n, enoughRuns);
}

INSTANTIATE_TEST_SUITE_P(Modes, PostTorture, modes, modeName);

class ReplyReaderTorture : public ::testing::TestWithParam<long long> {};

TEST_P(ReplyReaderTorture, GivesTheDescriptionOrNone) {
  const std::u16string reply =
      u"<?xml version=\"1.0\"?><reply><status>500</status><text id=\"statusDescription\">CPF9898 in "
      u"<b>QGPL/INVPGM</b></text></reply>";
  const std::u16string description = readStatusDescription(reply);
  ASSERT_EQ(description, u"CPF9898 in QGPL/INVPGM");

  long long n = 0;
  for (; n < enoughRuns; ++n) {
    std::u16string read = u"unset";
    bool failed = withAllocationFailing(n, GetParam(), [&] { read = readStatusDescription(reply); });
    if (!read.empty()) {
      ASSERT_EQ(read, description) << "allocation " << n;
    }
    if (!failed) break;
  }
  EXPECT_LT(n, enoughRuns);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReplyReaderTorture, modes, modeName);

}  // namespace
}  // namespace quorlex
