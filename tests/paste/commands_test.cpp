#include <gtest/gtest.h>

#include "support/program_fixture.h"

namespace solvane {
namespace {

using testing::FakeDesktop;

// The tray icon, its menu's clipboard commands and the caching switch.
class CommandsTest : public testing::ProgramTest {
 protected:
  void SetUp() override { Start(); }
  IconHandle ShownIcon() { return desk.tray.calls.back().record.icon; }
};

TEST_F(CommandsTest, TrayStartsWithTheCachingOnPicture) {
  EXPECT_TRUE(program->trayIcon().added());
  EXPECT_EQ(ShownIcon(), FakeDesktop::kCachingOn);
}

TEST_F(CommandsTest, DoubleClickOnTheTrayIconFlipsCaptureAndPictureButNotTheWindow) {
  desk.window.visible = true;
  program->state().WindowShown = true;
  desk.tray.Mouse(TrayMouse::kLeftDouble);
  EXPECT_FALSE(program->cachingOn());
  EXPECT_EQ(ShownIcon(), FakeDesktop::kCachingOff);
  EXPECT_TRUE(desk.window.visible);
  EXPECT_TRUE(program->state().WindowShown);
  Copy("not recorded");
  EXPECT_EQ(desk.titles.Count(), 0);
  desk.tray.Mouse(TrayMouse::kLeftDouble);
  EXPECT_TRUE(program->cachingOn());
  EXPECT_EQ(ShownIcon(), FakeDesktop::kCachingOn);
}

TEST_F(CommandsTest, CachingMenuItemSwapsThePictureToo) {
  program->OnCachingCommand();
  EXPECT_EQ(ShownIcon(), FakeDesktop::kCachingOff);
  program->OnCachingCommand();
  EXPECT_EQ(ShownIcon(), FakeDesktop::kCachingOn);
}

TEST_F(CommandsTest, CaseCommandsChangeOnlyAsciiLettersAndAreCapturedLikeACopy) {
  Copy("Mixed 123 caf\xe9 \xc9t\xe9");
  program->UpperCaseClipboard();
  EXPECT_EQ(desk.clipboard.text(), "MIXED 123 CAF\xe9 \xc9T\xe9");
  ASSERT_EQ(desk.titles.Count(), 2);
  EXPECT_EQ(Title(0), "MIXED 123 CAF\xe9 \xc9T\xe9");
  program->UpperCaseClipboard();  // the same text again: no new clip
  EXPECT_EQ(desk.titles.Count(), 2);
  program->LowerCaseClipboard();
  EXPECT_EQ(desk.clipboard.text(), "mixed 123 caf\xe9 \xc9t\xe9");
  EXPECT_EQ(desk.titles.Count(), 3);
  EXPECT_FALSE(desk.window.Visible());
}

TEST_F(CommandsTest, ClearClipboardLeavesTheHistoryAlone) {
  Copy("x");
  program->ClearClipboard();
  EXPECT_FALSE(desk.clipboard.HasText());
  EXPECT_EQ(desk.titles.Count(), 1);
  const int writes = desk.clipboard.writeCount();
  program->UpperCaseClipboard();  // no text: nothing happens
  EXPECT_EQ(desk.clipboard.writeCount(), writes);
}

TEST_F(CommandsTest, RightReleaseOnTheListOpensTheTrayMenuOnTheWindow) {
  program->OnListMouseUp(MouseButton::Left, 0, 5, 5);
  program->OnListMouseUp(MouseButton::Middle, 0, 5, 5);
  EXPECT_TRUE(desk.tray.log.empty());
  program->OnListMouseUp(MouseButton::Right, 0, 5, 5);
  EXPECT_EQ(desk.tray.log, std::vector<std::string>{"popup " + std::to_string(desk.window.left + 60) + "," +
                                                    std::to_string(desk.window.top + 50)});
  EXPECT_FALSE(desk.titles.enabled);
  EXPECT_FALSE(desk.labels.enabled);
  program->OnHotkey();  // the hotkey enables them again
  EXPECT_TRUE(desk.titles.enabled);
  EXPECT_TRUE(desk.labels.enabled);
}

}  // namespace
}  // namespace solvane
