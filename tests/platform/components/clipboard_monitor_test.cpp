#include "platform/components/clipboard_monitor.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "platform/fake/fake_clipboard.h"

namespace solvane {
namespace {

class MonitorTest : public ::testing::Test {
 protected:
  std::unique_ptr<ClipboardMonitor> Join() {
    auto monitor = std::make_unique<ClipboardMonitor>(chain, clipboard);
    monitor->OnChange = [this] { ++changes; };
    monitor->Loaded();
    return monitor;
  }
  fake::FakeClipboardChain chain;
  fake::FakeClipboard clipboard{chain};
  int changes = 0;
};

TEST_F(MonitorTest, JoiningGivesOneChangeAndEachCopyOneMore) {
  auto monitor = Join();
  EXPECT_EQ(changes, 1);
  clipboard.CopyText("a");
  clipboard.CopyText("b");
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(monitor->clipboard().HasText());
}

TEST_F(MonitorTest, VersionIsFixed) {
  ClipboardMonitor monitor(chain, clipboard);
  monitor.SetVersion("2.0");
  EXPECT_EQ(monitor.Version(), "1.20.00.00");
}

TEST_F(MonitorTest, ChangesArePassedToTheViewerBehind) {
  fake::ForeignViewer& before = chain.JoinForeignViewer();
  auto monitor = Join();
  EXPECT_EQ(monitor->next_viewer(), before.window);
  const int seen = before.drawCount;
  clipboard.CopyText("x");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(before.drawCount, seen + 1);
}

TEST_F(MonitorTest, NoticeIsPassedOnWithoutAHandlerAndWhenTheHandlerFails) {
  fake::ForeignViewer& before = chain.JoinForeignViewer();
  ClipboardMonitor monitor(chain, clipboard);
  monitor.Loaded();  // no handler
  int seen = before.drawCount;
  clipboard.CopyText("x");
  EXPECT_EQ(before.drawCount, seen + 1);

  std::string reported;
  monitor.OnChange = []() { throw std::runtime_error("boom"); };
  monitor.OnError = [&](const std::exception& error) { reported = error.what(); };
  seen = before.drawCount;
  clipboard.CopyText("y");
  EXPECT_EQ(reported, "boom");
  EXPECT_EQ(before.drawCount, seen + 1);
}

TEST_F(MonitorTest, LeavingOfTheNextViewerRelinksWithoutForwarding) {
  fake::ForeignViewer& behind = chain.JoinForeignViewer();
  auto monitor = Join();
  fake::ForeignViewer& ahead = chain.JoinForeignViewer();  // now the head
  EXPECT_EQ(ahead.next, monitor->window());

  const int behindChains = behind.chainCount;
  chain.LeaveForeignViewer(behind);
  EXPECT_EQ(monitor->next_viewer(), 0u);
  EXPECT_EQ(ahead.chainCount, 1);
  EXPECT_EQ(behind.chainCount, behindChains);  // not forwarded to the one leaving

  const int before = changes;
  clipboard.CopyText("after");
  EXPECT_EQ(changes, before + 1);
}

TEST_F(MonitorTest, OtherChainNoticesAreForwardedUnchanged) {
  fake::ForeignViewer& last = chain.JoinForeignViewer();
  fake::ForeignViewer& middle = chain.JoinForeignViewer();
  auto monitor = Join();
  EXPECT_EQ(monitor->next_viewer(), middle.window);
  chain.LeaveForeignViewer(last);  // reaches the monitor first
  EXPECT_EQ(monitor->next_viewer(), middle.window);
  EXPECT_EQ(middle.chainCount, 1);
  EXPECT_EQ(middle.next, 0u);
}

TEST_F(MonitorTest, DestroyedMonitorLeavesTheChainIntact) {
  fake::ForeignViewer& behind = chain.JoinForeignViewer();
  auto monitor = Join();
  fake::ForeignViewer& ahead = chain.JoinForeignViewer();
  const WindowHandle own = monitor->window();
  monitor.reset();
  EXPECT_FALSE(chain.WindowExists(own));
  EXPECT_EQ(ahead.next, behind.window);

  const int before = changes;
  const int aheadSeen = ahead.drawCount;
  const int behindSeen = behind.drawCount;
  clipboard.CopyText("gone");
  EXPECT_EQ(changes, before);
  EXPECT_EQ(ahead.drawCount, aheadSeen + 1);
  EXPECT_EQ(behind.drawCount, behindSeen + 1);
}

TEST_F(MonitorTest, DestroyingTheHeadMakesItsNextTheHead) {
  fake::ForeignViewer& behind = chain.JoinForeignViewer();
  auto monitor = Join();
  monitor.reset();
  EXPECT_EQ(chain.head(), behind.window);
}

}  // namespace
}  // namespace solvane
