#include "platform/components/tray_icon.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fake/fake_tray_api.h"

namespace solvane {
namespace {

using enum TrayOperation;
using enum TrayMouse;
using Operations = std::vector<TrayOperation>;
constexpr IconHandle kCachingOn = 0x31, kCachingOff = 0x32;

class TrayIconTest : public ::testing::Test {
 protected:
  Operations Sent() {
    Operations ops;
    for (const auto& call : tray.calls) ops.push_back(call.operation);
    return ops;
  }
  fake::FakeTray tray;
  fake::FakeTrayMenu menu{&tray.log};
};

TEST_F(TrayIconTest, LoadingShowsTheIconWithTheRecordFilledIn) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);  // from the clip window, before loading ends
  tray.calls.clear();
  icon.Loaded();
  ASSERT_EQ(Sent(), (Operations{kDelete, kAdd, kModify}));
  const TrayIconRecord& added = tray.calls[1].record;
  EXPECT_EQ(added.window, icon.window());
  EXPECT_EQ(added.id, 0u);
  EXPECT_EQ(added.icon, kCachingOn);
  EXPECT_TRUE(icon.added());
}

TEST_F(TrayIconTest, EveryAssignmentModifiesInPlaceEvenWithTheSamePicture) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  tray.calls.clear();
  icon.SetIcon(kCachingOff);
  icon.SetIcon(kCachingOff);
  ASSERT_EQ(Sent(), (Operations{kModify, kModify}));
  EXPECT_EQ(tray.calls[1].record.icon, kCachingOff);
}

TEST_F(TrayIconTest, EmptyPictureRemovesAndANewOneAddsAgain) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  tray.calls.clear();
  icon.SetIcon(0);
  EXPECT_FALSE(icon.added());
  icon.SetIcon(kCachingOff);
  // Show always removes first, so an empty picture sends two deletes.
  EXPECT_EQ(Sent(), (Operations{kDelete, kDelete, kDelete, kAdd, kModify}));
  EXPECT_TRUE(icon.added());
}

TEST_F(TrayIconTest, RefusedAddIsTriedAgainAtTheNextUpdate) {
  TrayIcon icon(tray);
  tray.refuseAdd = true;
  icon.SetIcon(kCachingOn);
  EXPECT_FALSE(icon.added());
  tray.refuseAdd = false;
  icon.SetIcon(kCachingOn);
  EXPECT_TRUE(icon.added());
}

TEST_F(TrayIconTest, TipIsTheHintBeforeItsBarCutTo63Characters) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  icon.SetHint("Clips|long help");
  EXPECT_EQ(tray.calls.back().record.tip, "Clips");
  icon.SetHint(std::string(80, 't'));
  EXPECT_EQ(tray.calls.back().record.tip, std::string(63, 't'));
  const std::size_t calls = tray.calls.size();
  icon.SetHint(std::string(80, 't'));  // unchanged: nothing sent
  EXPECT_EQ(tray.calls.size(), calls);
}

TEST_F(TrayIconTest, RestartedNotificationAreaGetsTheIconAgainAsItIsNow) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  icon.SetIcon(kCachingOff);
  icon.SetHint("not active");
  tray.calls.clear();
  tray.Restart();
  ASSERT_EQ(Sent(), (Operations{kDelete, kAdd}));
  EXPECT_EQ(tray.calls[1].record.icon, kCachingOff);
  EXPECT_EQ(tray.calls[1].record.tip, "not active");
  icon.SetActive(false);
  tray.calls.clear();
  tray.Restart();  // a hidden icon stays hidden
  EXPECT_TRUE(tray.calls.empty());
}

TEST_F(TrayIconTest, InactiveIconIsRemovedAndShownAgainWhenActive) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  icon.SetActive(false);
  EXPECT_FALSE(icon.added());
  icon.SetIcon(kCachingOff);
  EXPECT_FALSE(icon.added());
  icon.SetActive(true);
  EXPECT_TRUE(icon.added());
}

TEST_F(TrayIconTest, RightReleaseAfterARightPressOpensTheMenuBetweenForegroundCalls) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  icon.SetPopupMenu(&menu);
  std::vector<std::string> order;
  icon.OnMouseUp = [&](MouseButton, unsigned, int, int) { tray.log.push_back("mouse up"); };
  tray.Mouse(kRightUp);  // no press seen on the icon: no menu
  EXPECT_EQ(tray.log, std::vector<std::string>{"mouse up"});
  tray.log.clear();
  tray.Mouse(kRightDown);
  tray.Mouse(kRightUp);
  const std::string fg = "foreground " + std::to_string(icon.window());
  EXPECT_EQ(tray.log,
            (std::vector<std::string>{"cancel capture", fg, "process messages", "popup 1200,790", fg, "mouse up"}));
}

TEST_F(TrayIconTest, MenuWithoutAutoPopupGivesAClickInstead) {
  TrayIcon icon(tray);
  icon.SetIcon(kCachingOn);
  menu.autoPopup = false;
  icon.SetPopupMenu(&menu);
  int clicks = 0;
  icon.OnClick = [&](MouseButton button, unsigned shift, int, int) {
    ++clicks;
    EXPECT_EQ(button, MouseButton::Right);
    EXPECT_TRUE(shift & kShiftRight);
  };
  tray.Mouse(kRightDown);
  tray.Mouse(kRightUp);
  EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, DoubleClickRaisesTheEventThenAMouseDownWithTheDoubleFlag) {
  TrayIcon icon(tray);
  icon.SetPopupMenu(&menu);
  std::vector<std::string> order;
  icon.OnDblClick = [&]() { order.push_back("double"); };
  icon.OnMouseDown = [&](MouseButton, unsigned shift, int, int) {
    order.push_back(shift & kShiftDouble ? "down double" : "down");
  };
  icon.OnClick = [&](MouseButton, unsigned, int, int) { order.push_back("click"); };
  tray.Mouse(kLeftDown);
  tray.Mouse(kLeftUp);
  tray.Mouse(kLeftDouble);
  EXPECT_EQ(order, (std::vector<std::string>{"down", "click", "double", "down double"}));

  menu.hasDefault = true;  // a default item takes the double click
  order.clear();
  tray.Mouse(kLeftDouble);
  EXPECT_EQ(order, std::vector<std::string>{"down double"});
}

TEST_F(TrayIconTest, DisabledIconIgnoresTheMouseAndHandlerErrorsAreReported) {
  TrayIcon icon(tray);
  int doubles = 0;
  icon.OnDblClick = [&]() {
    ++doubles;
    throw std::runtime_error("handler failed");
  };
  std::string reported;
  icon.OnError = [&](const std::exception& error) { reported = error.what(); };
  icon.SetEnabled(false);
  tray.Mouse(kLeftDouble);
  EXPECT_EQ(doubles, 0);
  icon.SetEnabled(true);
  tray.Mouse(kLeftDouble);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(reported, "handler failed");
}

TEST_F(TrayIconTest, DestructionRemovesTheIcon) {
  {
    TrayIcon icon(tray);
    icon.SetIcon(kCachingOn);
    tray.calls.clear();
  }
  ASSERT_EQ(Sent(), Operations{kDelete});
}

}  // namespace
}  // namespace solvane
