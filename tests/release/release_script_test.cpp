#include "release/release_script.h"

#include <gtest/gtest.h>

#include "release/host_log.h"
#include "testhost/memory_host.h"

namespace quorlex {
namespace {

class ReleaseScript : public testing::Test {
 protected:
  void TearDown() override { clearLoggingTarget(); }
  MemoryHost host;
};

TEST_F(ReleaseScript, OpenAndCloseSucceedWithOrWithoutDocumentData) {
  releaseScript script;
  KfxReturnValue result = KFX_REL_ERROR;
  script.OpenScript(result);
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  result = KFX_REL_ERROR;
  script.CloseScript(result);
  EXPECT_EQ(result, KFX_REL_SUCCESS);

  script.setDocumentData(host.releaseData());
  result = KFX_REL_ERROR;
  script.OpenScript(result);
  EXPECT_EQ(result, KFX_REL_SUCCESS);
  result = KFX_REL_ERROR;
  script.CloseScript(result);
  EXPECT_EQ(result, KFX_REL_SUCCESS);
}

TEST_F(ReleaseScript, DocumentDataIsKeptUntilCloseScript) {
  releaseScript script;
  EXPECT_EQ(script.DocumentData(), nullptr);
  auto data = host.releaseData();
  script.setDocumentData(data);
  EXPECT_EQ(script.DocumentData(), data);
  EXPECT_EQ(loggingTarget(), data);
  KfxReturnValue result;
  script.CloseScript(result);
  EXPECT_EQ(script.DocumentData(), nullptr);
  EXPECT_EQ(loggingTarget(), nullptr);
}

TEST_F(ReleaseScript, CloseOnOneObjectSilencesAllUntilDocumentDataIsSetAgain) {
  MemoryHost other;
  releaseScript first;
  releaseScript second;
  first.setDocumentData(host.releaseData());
  second.setDocumentData(other.releaseData());  // the last set is the target
  logToHost(250, levelNotice, u"to second");
  EXPECT_TRUE(host.events().empty());
  EXPECT_EQ(other.events().size(), 1u);

  KfxReturnValue result;
  first.CloseScript(result);
  EXPECT_NE(second.DocumentData(), nullptr);  // the other object keeps its document
  logToHost(250, levelNotice, u"dropped");
  EXPECT_EQ(other.events().size(), 1u);

  first.setDocumentData(host.releaseData());
  logToHost(250, levelNotice, u"to first");
  EXPECT_EQ(host.events().size(), 1u);
}

}  // namespace
}  // namespace quorlex
