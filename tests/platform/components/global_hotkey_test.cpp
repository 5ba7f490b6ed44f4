#include "platform/components/global_hotkey.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_hotkey_api.h"

namespace solvane {
namespace {

using Calls = std::vector<std::string>;

class HotKeyTest : public ::testing::Test {
 protected:
  fake::FakeHotKeys api;
};

TEST_F(HotKeyTest, ChangingTheKeyDropsAndRegistersIdZeroWithItsModifiers) {
  GlobalHotkey hotkey(api);
  hotkey.SetKey(116);  // F5
  hotkey.Loaded();
  api.calls.clear();
  hotkey.SetKey(0xC028);
  EXPECT_EQ(api.calls, (Calls{"unregister 0", "register 0 3 0x28"}));
  api.calls.clear();
  hotkey.SetKey(0x6026);
  EXPECT_EQ(api.calls, (Calls{"unregister 0", "register 0 6 0x26"}));
  hotkey.SetKey(0xA041);  // Shift+Alt+A
  EXPECT_EQ(api.calls.back(), "register 0 5 0x41");
}

TEST_F(HotKeyTest, AnUnchangedKeyIsNotRegisteredAgain) {
  GlobalHotkey hotkey(api);
  hotkey.SetKey(0xC028);
  api.calls.clear();
  hotkey.SetKey(0xC028);
  hotkey.Loaded();
  EXPECT_TRUE(api.calls.empty());
}

TEST_F(HotKeyTest, EveryPressRaisesTheEvent) {
  GlobalHotkey hotkey(api);
  int presses = 0;
  hotkey.OnHotKey = [&] { ++presses; };
  hotkey.SetKey(0xC028);
  EXPECT_TRUE(api.Press(kHotKeyControl | kHotKeyAlt, 0x28));
  EXPECT_TRUE(api.Press(kHotKeyControl | kHotKeyAlt, 0x28));
  EXPECT_FALSE(api.Press(0, 0x28));
  EXPECT_EQ(presses, 2);
}

TEST_F(HotKeyTest, RefusedRegistrationIsSilentAndRetriedOnlyWhenAsked) {
  api.heldElsewhere.push_back({0, 0x78});  // F9 belongs to another program
  GlobalHotkey hotkey(api);
  hotkey.SetKey(0x78);
  EXPECT_FALSE(hotkey.registered());
  EXPECT_EQ(hotkey.Key(), 0x78);
  api.calls.clear();
  hotkey.SetKey(0x78);
  EXPECT_TRUE(api.calls.empty());
  hotkey.SetEnabled(true);  // tries again
  EXPECT_EQ(api.calls, Calls{"register 0 0 0x78"});
  api.heldElsewhere.clear();
  hotkey.SetEnabled(true);
  EXPECT_TRUE(hotkey.registered());
}

TEST_F(HotKeyTest, NoKeyLeavesNoHotkey) {
  GlobalHotkey hotkey(api);
  hotkey.SetKey(0xC028);
  hotkey.SetKey(0);
  EXPECT_FALSE(hotkey.registered());
  EXPECT_TRUE(api.active.empty());
  EXPECT_FALSE(api.Press(kHotKeyControl | kHotKeyAlt, 0x28));
}

TEST_F(HotKeyTest, DisablingAndDestroyingDropTheRegistration) {
  {
    GlobalHotkey hotkey(api);
    hotkey.SetKey(0x71);
    hotkey.SetEnabled(false);
    EXPECT_TRUE(api.active.empty());
    hotkey.SetKey(0x72);  // stored, not registered while disabled
    EXPECT_TRUE(api.active.empty());
    hotkey.SetEnabled(true);
    ASSERT_EQ(api.active.size(), 1u);
    EXPECT_EQ(api.active[0].virtualKey, 0x72u);
  }
  EXPECT_TRUE(api.active.empty());
  EXPECT_TRUE(api.windows.empty());
}

}  // namespace
}  // namespace solvane
