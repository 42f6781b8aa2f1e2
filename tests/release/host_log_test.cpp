#include "release/host_log.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "testhost/memory_host.h"

namespace quorlex {
namespace {

class HostLog : public testing::Test {
 protected:
  void SetUp() override { setLoggingTarget(host.releaseData()); }
  void TearDown() override { clearLoggingTarget(); }
  MemoryHost host;
};

TEST_F(HostLog, NoticeGoesToTheErrorLogOnly) {
  logToHost(hostMessage::releasedLine, levelNotice, hostMessage::releasedText);
  ASSERT_EQ(host.events().size(), 1u);
  const HostEvent& entry = host.events()[0];
  EXPECT_EQ(entry.kind, HostEvent::Kind::LogError);
  EXPECT_EQ(entry.err1, 0);
  EXPECT_EQ(entry.err2, 0);
  EXPECT_EQ(entry.err3, 0);
  EXPECT_EQ(entry.message, u"Document Released Successfully");
  EXPECT_EQ(entry.codeModule, u".\\releaseScript");
  EXPECT_EQ(entry.lineNumber, 250);
}

TEST_F(HostLog, ErrorAlsoGoesToTheReleaseModule) {
  logToHost(hostMessage::valuesLine, levelError, hostMessage::valuesText);
  ASSERT_EQ(host.events().size(), 2u);
  EXPECT_EQ(host.events()[0].kind, HostEvent::Kind::LogError);
  EXPECT_EQ(host.events()[0].err1, 1);
  EXPECT_EQ(host.events()[0].lineNumber, 193);
  const HostEvent& message = host.events()[1];
  EXPECT_EQ(message.kind, HostEvent::Kind::SendMessage);
  EXPECT_EQ(message.message, u"Failed to get values");
  EXPECT_EQ(message.errorNumber, 1);
  EXPECT_EQ(message.infoRet, KFX_REL_DOC_ERROR);
}

TEST_F(HostLog, TextIsNeverTakenAsAFormat) {
  logToHost(238, levelError, u"HTTP Request returned 500 (%s) 100%d %n");
  EXPECT_EQ(host.events()[0].message, u"HTTP Request returned 500 (%s) 100%d %n");
}

TEST_F(HostLog, AFailingLogErrorStillSendsTheMessage) {
  host.faults().fail(HostOperation::LogError, resultFail);
  logToHost(238, levelError, u"gateway down");
  ASSERT_EQ(host.events().size(), 1u);
  EXPECT_EQ(host.events()[0].kind, HostEvent::Kind::SendMessage);
}

TEST_F(HostLog, LongMessageIsCutTo1023UnitsWithoutSplittingAPair) {
  logToHost(238, levelError, std::u16string(1500, u'x'));
  EXPECT_EQ(host.events()[0].message.size(), 1023u);
  EXPECT_EQ(host.events()[1].message.size(), 1023u);

  host.clearEvents();
  std::u16string text = std::u16string(1022, u'x') + u"\U0001F600" + u"tail";  // the pair straddles the cut
  logToHost(238, levelNotice, text);
  EXPECT_EQ(host.events()[0].message, std::u16string(1022, u'x'));

  host.clearEvents();
  logToHost(238, levelNotice, std::u16string(1023, u'y'));
  EXPECT_EQ(host.events()[0].message.size(), 1023u);
}

TEST_F(HostLog, WithoutATargetNothingHappens) {
  clearLoggingTarget();
  logToHost(238, levelError, u"dropped");
  EXPECT_TRUE(host.events().empty());
}

TEST(HostLogThreads, TargetCanBeSwappedWhileOthersLog) {
  MemoryHost first;
  MemoryHost second;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        if (t % 2 == 0) {
          setLoggingTarget(i % 2 ? first.releaseData() : second.releaseData());
        } else {
          (void)loggingTarget();
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  clearLoggingTarget();
  EXPECT_EQ(loggingTarget(), nullptr);
}

}  // namespace
}  // namespace quorlex
