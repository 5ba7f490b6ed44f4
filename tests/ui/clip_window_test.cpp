#include <gtest/gtest.h>

#include "support/program_fixture.h"

namespace solvane {
namespace {

using Log = std::vector<std::string>;
// The hotkey, the label keys, the window's showing and hiding, the first
// activation's settings, dragging and the preview hint.
class KeyboardTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->state().PasteDelay = 50;
  }
  // The clip the key pasted, by its text, with the window up as the hotkey
  // leaves it and the list scrolled where the test put it; "" when nothing
  // was pasted.
  std::string PastedBy(unsigned key) {
    const int top = desk.titles.TopIndex();
    if (!program->state().WindowShown) program->OnHotkey();
    desk.titles.SetTopIndex(top);
    const int writes = desk.clipboard.writeCount();
    program->OnKeyDown(key, 0);
    return desk.clipboard.writeCount() == writes ? std::string() : desk.clipboard.text().value_or("");
  }
  // The text Fill(count) put on a line.
  std::string ClipAtLine(int line, int count) { return "clip " + std::to_string(count - 1 - line); }
};

TEST_F(KeyboardTest, HotkeyShowsTheWindowOnTopWithThePointerOnItThenHidesIt) {
  Log log;
  desk.window.log = &log;
  desk.titles.SetEnabled(false);
  desk.labels.enabled = false;
  desk.titles.SetHorizontalExtent(400);
  program->OnHotkey();
  EXPECT_EQ(log, (Log{"foreground", "show", "focus", "top"}));
  EXPECT_TRUE(desk.window.visible);
  EXPECT_EQ(desk.pointer.x, desk.window.left + 247);
  EXPECT_EQ(desk.pointer.y, desk.window.top + 118);
  EXPECT_EQ(desk.titles.HorizontalExtent(), 0);
  EXPECT_TRUE(desk.titles.enabled);
  EXPECT_TRUE(desk.labels.enabled);
  EXPECT_EQ(desk.timers.intervals[kLabelFollowTimer], 100);
  EXPECT_TRUE(program->state().WindowShown);

  program->OnHotkey();
  EXPECT_FALSE(desk.window.visible);

  // On a screen at 150 %: the pointer where the scaled window has the place.
  desk.window.dpi = 144;
  program->OnHotkey();
  EXPECT_EQ(desk.pointer.x, desk.window.left + 371);
  EXPECT_EQ(desk.pointer.y, desk.window.top + 177);
  program->OnHotkey();
  EXPECT_FALSE(program->state().WindowShown);
}

// Every label pastes its line with the list at the top; scrolled, the
// labels go on round past line 36: line n bears label n mod 36.
TEST_F(KeyboardTest, LabelsPickTheVisibleLineBesideThem) {
  Fill(100);  // captures do not trim: more than 72 lines until a paste
  struct Case {
    int top;
    unsigned key;
    int line;
  };
  // Each paste trims the list by a line: the deep ones first.
  std::vector<Case> cases = {{5, '3', 38}, {5, '6', 5},   {5, 'A', 10},  {40, '0', 45}, {20, 'J', 55},
                             {3, 'J', 19}, {64, '1', 72}, {64, '0', 81}, {64, 'Z', 71}};
  const std::string labels = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (std::size_t i = 0; i < labels.size(); ++i) {
    cases.push_back({0, static_cast<unsigned char>(labels[i]), static_cast<int>(i)});
  }
  // Each paste moves its clip to the top, so the line's text is read first.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    desk.titles.SetTopIndex(c.top);
    const std::string expected = *TextOf(c.line);
    EXPECT_EQ(PastedBy(c.key), expected);
  }
}

// A key that reaches the window while it is hidden (a closing box activated
// it, say) pastes nothing; nor does the V of the program's own Ctrl+V, which
// is label 31 and would paste again, and again.
TEST_F(KeyboardTest, KeysDoNothingWhileTheWindowIsHidden) {
  Fill(40);
  const std::vector<std::string> before = Titles();
  const int writes = desk.clipboard.writeCount();
  program->OnKeyDown('2', 0);
  EXPECT_EQ(desk.clipboard.writeCount(), writes);
  EXPECT_EQ(Titles(), before);

  EXPECT_EQ(PastedBy('2'), ClipAtLine(1, 40));
  EXPECT_FALSE(program->state().WindowShown);
  const std::vector<std::string> afterPaste = Titles();
  program->OnKeyDown(kVkV, kShiftCtrl);
  EXPECT_EQ(desk.clipboard.writeCount(), writes + 1);
  EXPECT_EQ(Titles(), afterPaste);
}

TEST_F(KeyboardTest, LabelBeyondTheLastClipPastesNothingAndLeavesTheWindowUp) {
  Fill(20);
  program->OnHotkey();
  EXPECT_EQ(PastedBy('Z'), "");
  EXPECT_TRUE(desk.window.visible);
  EXPECT_TRUE(program->state().WindowShown);
  EXPECT_EQ(desk.titles.ItemIndex(), -1);
}

TEST_F(KeyboardTest, OtherKeysSelectNothing) {
  Fill(5);
  desk.titles.SetItemIndex(3);
  for (const unsigned key : {0x20u, 0x70u, 0x28u, 0x60u, 0x2Fu, 0x5Bu, 0x11u}) {
    EXPECT_EQ(PastedBy(key), "") << key;
  }
  EXPECT_EQ(desk.titles.ItemIndex(), -1);
}

TEST_F(KeyboardTest, CtrlCWithTheWindowUpPastesTheCLine) {
  Fill(15);
  EXPECT_EQ(PastedBy('C'), ClipAtLine(12, 15));
}

TEST_F(KeyboardTest, LabelColumnFollowsTheListAndScrollingReleasesTheRunButton) {
  Fill(100);
  program->ToggleRunToTop();
  program->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.topWrites, 0);
  EXPECT_TRUE(program->runToTop());
  desk.titles.SetTopIndex(7);
  program->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.top, 7);
  EXPECT_FALSE(program->runToTop());
  // The column's 72 rows bear labels 0..35 twice: row 8 is the one that
  // stands beside line 44 with its own label.
  desk.titles.SetTopIndex(44);
  program->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.top, 8);
}

TEST_F(KeyboardTest, FirstActivationAppliesTheSettingsOnce) {
  File("prefs.qlx") = "1000000000\r\n";
  desk.settingsDialog.autosave = true;
  desk.titles.SetHorizontalExtent(99);
  program->OnActivate();
  EXPECT_EQ(program->hotkey().Key(), 49192);
  EXPECT_EQ(program->state().PasteDelay, 100);
  EXPECT_EQ(program->history().autosaveInterval(), 300000);
  EXPECT_TRUE(program->history().titleLineFlag());
  EXPECT_EQ(desk.titles.HorizontalExtent(), 0);
  EXPECT_TRUE(desk.window.minimized);
  EXPECT_TRUE(program->state().FirstActivationDone);
  EXPECT_TRUE(desk.hotKeys.Press(kHotKeyControl | kHotKeyAlt, 0x28));  // shows the window
  EXPECT_TRUE(program->state().WindowShown);

  desk.settingsDialog.hotkeyText = "F9";
  desk.settingsDialog.pasteDelayText = "5000";
  program->OnActivate();
  EXPECT_EQ(program->hotkey().Key(), 49192);
  EXPECT_EQ(program->state().PasteDelay, 100);
}

TEST_F(KeyboardTest, HotkeyIsF5UntilTheFirstActivation) {
  EXPECT_EQ(program->hotkey().Key(), 116);
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x74));
  EXPECT_FALSE(desk.hotKeys.Press(kHotKeyControl | kHotKeyAlt, 0x28));
}

// A box's closing activates the window again: each failure of the first
// activation is said once, the window still goes to the tray with the
// defaults for what failed, and what could not be read is tried again at
// the next hotkey, without a second box.
TEST_F(KeyboardTest, FirstActivationThatFailsSaysSoOnceAndGoesOnWithDefaults) {
  desk.settingsDialog.hotkeyText = "F9";
  desk.settingsDialog.pasteDelayText = "fast";
  desk.settingsDialog.autosave = true;
  RemoveFile("prefs.qlx");
  desk.dialogs.whileOpen = [&] { program->OnActivate(); };  // the box closes
  program->HandleEvent([&] { program->OnActivate(); });
  EXPECT_EQ(desk.dialogs.errors,
            (std::vector<std::string>{"'fast' is not a valid integer value",
                                      "Cannot open file " + testing::FakeDesktop::Path("prefs.qlx")}));
  EXPECT_TRUE(program->state().FirstActivationDone);
  EXPECT_EQ(program->hotkey().Key(), 0x78);
  EXPECT_EQ(program->state().PasteDelay, 100);
  EXPECT_EQ(desk.settingsDialog.pasteDelayText, "100");  // what the dialog shows is what holds
  EXPECT_EQ(program->history().autosaveInterval(), 300000);
  EXPECT_TRUE(desk.window.minimized);
  EXPECT_EQ(program->state().PrefFlags, "0000000000");

  desk.dialogs.whileOpen = nullptr;
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x78));
  EXPECT_EQ(desk.dialogs.errors.size(), 2u);  // tried again, said no more
  program->OnHotkey();
  File("prefs.qlx") = "1000000000\r\n";
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x78));
  EXPECT_EQ(program->state().PrefFlags, "1000000000");
  EXPECT_TRUE(program->history().titleLineFlag());
  EXPECT_EQ(desk.dialogs.errors.size(), 2u);
}

// Each text on a program of its own: only the first activation applies the
// settings.
class PasteDelayTextTest : public KeyboardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PasteDelayTextTest, PasteDelayThatIsNotAWholeNumberIsReported) {
  desk.settingsDialog.pasteDelayText = GetParam();
  program->HandleEvent([&] { program->OnActivate(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(NotWholeNumbers, PasteDelayTextTest,
                         ::testing::Values("", "12ms", "1.5", "99999999999", "0x10", "- 5"));

TEST_F(KeyboardTest, DeactivationHidesAndResets) {
  Log log;
  Fill(40);
  program->OnHotkey();
  desk.titles.SetTopIndex(4);
  desk.window.log = &log;
  program->OnDeactivate();
  EXPECT_EQ(log, (Log{"hide owner", "hide"}));
  EXPECT_EQ(desk.titles.TopIndex(), 0);
  EXPECT_FALSE(program->state().WindowShown);
  EXPECT_EQ(desk.timers.intervals[kLabelFollowTimer], 0);
  // So the next hotkey shows the window rather than hiding it.
  program->OnHotkey();
  EXPECT_TRUE(desk.window.visible);
}

TEST_F(KeyboardTest, SettingsWhileTheDialogIsOpenBringItToTheFront) {
  fake::FakeSettingsWindow dialog;
  desk.settingsDialog.set_window(&dialog);
  dialog.whileOpen = [&] { program->OpenSettings(); };
  program->OpenSettings();
  EXPECT_EQ(dialog.modalRuns, 1);
  EXPECT_EQ(dialog.broughtToFront, 1);
  desk.settingsDialog.set_window(nullptr);
}

TEST_F(KeyboardTest, HideButtonHidesAndScrollsToTheTop) {
  Fill(40);
  program->OnHotkey();
  desk.titles.SetTopIndex(3);
  program->OnHideButton();
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(program->state().WindowShown);
  EXPECT_EQ(desk.titles.TopIndex(), 0);
}

TEST_F(KeyboardTest, DraggingWithTheLeftButtonAloneMovesTheWindowByThePointersTravel) {
  desk.window.left = 300;
  desk.window.top = 200;
  program->OnDragStart(MouseButton::Left, kShiftLeft, 40, 10);
  // The window follows the pointer, so each move is seen relative to the
  // anchor in the moved control.
  program->OnDragMove(kShiftLeft, 45, 7);
  EXPECT_EQ(desk.window.left, 305);
  EXPECT_EQ(desk.window.top, 197);
  program->OnDragMove(kShiftLeft | kShiftCtrl, 60, 30);
  program->OnDragMove(kShiftRight, 60, 30);
  program->OnDragMove(kShiftLeft | kShiftRight, 60, 30);
  program->OnDragMove(0, 60, 30);
  EXPECT_EQ(desk.window.left, 305);
  EXPECT_EQ(desk.window.top, 197);
  program->OnTitlePictureDragStart(MouseButton::Left, kShiftLeft, 2, 2);
  program->OnTitlePictureDragMove(kShiftLeft, -8, 2);
  EXPECT_EQ(desk.window.left, 295);
}

class HintTest : public KeyboardTest {
 protected:
  std::string HintFor(const std::string& text) {
    Copy(text);
    desk.labels.item = 0;
    program->OnLabelClick();
    return desk.labels.hint;
  }
  static std::string Lines(int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) text += "l" + std::to_string(i) + (i < n ? "\r\n" : "");
    return text;
  }
};

TEST_F(HintTest, PreviewShowsAtMostFortyFiveLines) {
  EXPECT_EQ(HintFor(Lines(44)), Lines(44));
  EXPECT_EQ(HintFor(Lines(45)), Lines(45) + "...");
  EXPECT_EQ(HintFor(Lines(100)), Lines(45) + "...");
  EXPECT_TRUE(desk.labels.showHint);
  EXPECT_EQ(desk.timers.intervals[kHintWatchdogTimer], 100);
  EXPECT_EQ(desk.labels.item, -1);
  EXPECT_EQ(desk.titles.ItemIndex(), -1);
}

TEST_F(HintTest, HintStaysWhileThePointerIsStrictlyInsideTheColumn) {
  HintFor("x");
  const Rect r = desk.labels.bounds;
  desk.pointer.MoveTo(r.left + 1, r.bottom - 1);
  program->OnHintWatchdogTimer();
  EXPECT_TRUE(desk.labels.showHint);
  EXPECT_EQ(desk.timers.intervals[kHintWatchdogTimer], 100);
  desk.pointer.MoveTo(r.left, r.top + 5);  // on the edge counts as outside
  program->OnHintWatchdogTimer();
  EXPECT_FALSE(desk.labels.showHint);
  EXPECT_EQ(desk.timers.intervals[kHintWatchdogTimer], 0);
}

TEST_F(HintTest, BarsBecomeBrokenBarsInTheUtf8Hint) {
  EXPECT_EQ(HintFor("a|b"),
            "a\xC2\xA6"
            "b");
}

TEST_F(HintTest, ARowPreviewsTheLineBesideIt) {
  Fill(100);
  desk.titles.SetTopIndex(44);
  program->OnLabelFollowTimer();
  desk.labels.item = 8 + 3;  // the fourth visible row
  program->OnLabelClick();
  EXPECT_EQ(desk.labels.hint, ClipAtLine(47, 100));
}

TEST_F(HintTest, RowBeyondTheLastClipShowsNothing) {
  Fill(2);
  desk.labels.hint = "old";
  desk.labels.item = 5;
  program->OnLabelClick();
  EXPECT_EQ(desk.labels.hint, "");
  EXPECT_FALSE(desk.labels.showHint);
  EXPECT_EQ(desk.labels.item, -1);
}

}  // namespace
}  // namespace solvane
