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
    form->state().PasteDelay = 50;
  }
  // The clip the key pasted, by its text, with the window up as the hotkey
  // leaves it and the list scrolled where the test put it; "" when nothing
  // was pasted.
  std::string PastedBy(unsigned key) {
    const int top = desk.titles.TopIndex();
    if (!form->state().WindowShown) form->OnHotkey();
    desk.titles.SetTopIndex(top);
    const int writes = desk.clipboard.writeCount();
    form->OnKeyDown(key, 0);
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
  form->OnHotkey();
  EXPECT_EQ(log, (Log{"foreground", "show", "focus", "top"}));
  EXPECT_TRUE(desk.window.visible);
  EXPECT_EQ(desk.pointer.x, desk.window.left + 247);
  EXPECT_EQ(desk.pointer.y, desk.window.top + 118);
  EXPECT_EQ(desk.titles.HorizontalExtent(), 0);
  EXPECT_TRUE(desk.titles.enabled);
  EXPECT_TRUE(desk.labels.enabled);
  EXPECT_EQ(desk.timers.intervals[kLabelFollowTimer], 100);
  EXPECT_TRUE(form->state().WindowShown);

  form->OnHotkey();
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(form->state().WindowShown);
}

TEST_F(KeyboardTest, LabelsPickTheVisibleLineBesideThem) {
  Fill(100);  // captures do not trim: more than 72 lines until a paste
  // Each paste moves its clip to the top, so the line's text is read first.
  struct Case {
    int top;
    unsigned key;
    int line;
  };
  // Past line 36 the labels go on round: line n bears label n mod 36.
  for (const Case& c : {Case{0, '1', 0}, Case{5, '3', 38}, Case{5, '6', 5}, Case{5, 'A', 10}, Case{40, '0', 45},
                        Case{20, 'J', 55}, Case{3, 'J', 19}, Case{64, '1', 72}, Case{64, '0', 81}, Case{64, 'Z', 71}}) {
    SCOPED_TRACE(c.line);
    desk.titles.SetTopIndex(c.top);
    const std::string expected = *TextOf(c.line);
    EXPECT_EQ(PastedBy(c.key), expected);
  }
}

TEST_F(KeyboardTest, EveryLabelReachesItsLineAtTheTop) {
  Fill(36);
  const std::string labels = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  // Each paste moves its clip to the top, so compare with a fresh list.
  for (std::size_t i = 0; i < labels.size(); ++i) {
    SCOPED_TRACE(labels[i]);
    const std::string expected = *TextOf(static_cast<int>(i));
    EXPECT_EQ(PastedBy(static_cast<unsigned char>(labels[i])), expected);
  }
}

// A key that reaches the window while it is hidden (a closing box activated
// it, say) pastes nothing; nor does the V of the program's own Ctrl+V, which
// is label 31 and would paste again, and again.
TEST_F(KeyboardTest, KeysDoNothingWhileTheWindowIsHidden) {
  Fill(40);
  const std::vector<std::string> before = Titles();
  const int writes = desk.clipboard.writeCount();
  form->OnKeyDown('2', 0);
  EXPECT_EQ(desk.clipboard.writeCount(), writes);
  EXPECT_EQ(Titles(), before);

  EXPECT_EQ(PastedBy('2'), ClipAtLine(1, 40));
  EXPECT_FALSE(form->state().WindowShown);
  const std::vector<std::string> afterPaste = Titles();
  form->OnKeyDown(kVkV, kShiftCtrl);
  EXPECT_EQ(desk.clipboard.writeCount(), writes + 1);
  EXPECT_EQ(Titles(), afterPaste);
}

TEST_F(KeyboardTest, LabelBeyondTheLastClipPastesNothingAndLeavesTheWindowUp) {
  Fill(20);
  form->OnHotkey();
  EXPECT_EQ(PastedBy('Z'), "");
  EXPECT_TRUE(desk.window.visible);
  EXPECT_TRUE(form->state().WindowShown);
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
  form->ToggleRunToTop();
  form->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.topWrites, 0);
  EXPECT_TRUE(form->runToTop());
  desk.titles.SetTopIndex(7);
  form->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.top, 7);
  EXPECT_FALSE(form->runToTop());
  // The column's 72 rows bear labels 0..35 twice: row 8 is the one that
  // stands beside line 44 with its own label.
  desk.titles.SetTopIndex(44);
  form->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.top, 8);
}

TEST_F(KeyboardTest, FirstActivationAppliesTheSettingsOnce) {
  File("prefs.qlx") = "1000000000\r\n";
  desk.settingsDialog.autosave = true;
  desk.titles.SetHorizontalExtent(99);
  form->OnActivate();
  EXPECT_EQ(form->hotkey().Key(), 49192);
  EXPECT_EQ(form->state().PasteDelay, 100);
  EXPECT_EQ(form->history().autosaveInterval(), 300000);
  EXPECT_TRUE(form->history().titleLineFlag());
  EXPECT_EQ(desk.titles.HorizontalExtent(), 0);
  EXPECT_TRUE(desk.window.minimized);
  EXPECT_TRUE(form->state().FirstActivationDone);
  EXPECT_TRUE(desk.hotKeys.Press(kModControl | kModAlt, 0x28));  // shows the window
  EXPECT_TRUE(form->state().WindowShown);

  desk.settingsDialog.hotkeyText = "F9";
  desk.settingsDialog.pasteDelayText = "5000";
  form->OnActivate();
  EXPECT_EQ(form->hotkey().Key(), 49192);
  EXPECT_EQ(form->state().PasteDelay, 100);
}

TEST_F(KeyboardTest, HotkeyIsF5UntilTheFirstActivation) {
  EXPECT_EQ(form->hotkey().Key(), 116);
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x74));
  EXPECT_FALSE(desk.hotKeys.Press(kModControl | kModAlt, 0x28));
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
  desk.dialogs.whileOpen = [&] { form->OnActivate(); };  // the box closes
  form->HandleEvent([&] { form->OnActivate(); });
  EXPECT_EQ(desk.dialogs.errors, (std::vector<std::string>{"'fast' is not a valid integer value",
                                                          "Cannot open file " + testing::FakeDesktop::Path("prefs.qlx")}));
  EXPECT_TRUE(form->state().FirstActivationDone);
  EXPECT_EQ(form->hotkey().Key(), 0x78);
  EXPECT_EQ(form->state().PasteDelay, 100);
  EXPECT_EQ(desk.settingsDialog.pasteDelayText, "100");  // what the dialog shows is what holds
  EXPECT_EQ(form->history().autosaveInterval(), 300000);
  EXPECT_TRUE(desk.window.minimized);
  EXPECT_EQ(form->state().PrefFlags, "0000000000");

  desk.dialogs.whileOpen = nullptr;
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x78));
  EXPECT_EQ(desk.dialogs.errors.size(), 2u);  // tried again, said no more
  form->OnHotkey();
  File("prefs.qlx") = "1000000000\r\n";
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x78));
  EXPECT_EQ(form->state().PrefFlags, "1000000000");
  EXPECT_TRUE(form->history().titleLineFlag());
  EXPECT_EQ(desk.dialogs.errors.size(), 2u);
}

// Each text on a program of its own: only the first activation applies the
// settings.
class PasteDelayTextTest : public KeyboardTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PasteDelayTextTest, PasteDelayThatIsNotAWholeNumberIsReported) {
  desk.settingsDialog.pasteDelayText = GetParam();
  form->HandleEvent([&] { form->OnActivate(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(NotWholeNumbers, PasteDelayTextTest,
                         ::testing::Values("", "12ms", "1.5", "99999999999", "0x10", "- 5"));

TEST_F(KeyboardTest, DeactivationHidesAndResets) {
  Log log;
  Fill(40);
  form->OnHotkey();
  desk.titles.SetTopIndex(4);
  desk.window.log = &log;
  form->OnDeactivate();
  EXPECT_EQ(log, (Log{"hide owner", "hide"}));
  EXPECT_EQ(desk.titles.TopIndex(), 0);
  EXPECT_FALSE(form->state().WindowShown);
  EXPECT_EQ(desk.timers.intervals[kLabelFollowTimer], 0);
  // So the next hotkey shows the window rather than hiding it.
  form->OnHotkey();
  EXPECT_TRUE(desk.window.visible);
}

TEST_F(KeyboardTest, SettingsWhileTheDialogIsOpenBringItToTheFront) {
  fake::FakeSettingsWindow dialog;
  desk.settingsDialog.set_window(&dialog);
  dialog.whileOpen = [&] { form->OpenSettings(); };
  form->OpenSettings();
  EXPECT_EQ(dialog.modalRuns, 1);
  EXPECT_EQ(dialog.broughtToFront, 1);
  desk.settingsDialog.set_window(nullptr);
}

TEST_F(KeyboardTest, HideButtonHidesAndScrollsToTheTop) {
  Fill(40);
  form->OnHotkey();
  desk.titles.SetTopIndex(3);
  form->OnHideButton();
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(form->state().WindowShown);
  EXPECT_EQ(desk.titles.TopIndex(), 0);
}

TEST_F(KeyboardTest, DraggingWithTheLeftButtonAloneMovesTheWindowByThePointersTravel) {
  desk.window.left = 300;
  desk.window.top = 200;
  form->OnDragStart(MouseButton::Left, kShiftLeft, 40, 10);
  // The window follows the pointer, so each move is seen relative to the
  // anchor in the moved control.
  form->OnDragMove(kShiftLeft, 45, 7);
  EXPECT_EQ(desk.window.left, 305);
  EXPECT_EQ(desk.window.top, 197);
  form->OnDragMove(kShiftLeft | kShiftCtrl, 60, 30);
  form->OnDragMove(kShiftRight, 60, 30);
  form->OnDragMove(kShiftLeft | kShiftRight, 60, 30);
  form->OnDragMove(0, 60, 30);
  EXPECT_EQ(desk.window.left, 305);
  EXPECT_EQ(desk.window.top, 197);
  form->OnTitlePictureDragStart(MouseButton::Left, kShiftLeft, 2, 2);
  form->OnTitlePictureDragMove(kShiftLeft, -8, 2);
  EXPECT_EQ(desk.window.left, 295);
}

class HintTest : public KeyboardTest {
 protected:
  std::string HintFor(const std::string& text) {
    Copy(text);
    desk.labels.item = 0;
    form->OnLabelClick();
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
  const ScreenRect r = desk.labels.bounds;
  desk.pointer.MoveTo(r.left + 1, r.top + r.height - 1);
  form->OnHintWatchdogTimer();
  EXPECT_TRUE(desk.labels.showHint);
  EXPECT_EQ(desk.timers.intervals[kHintWatchdogTimer], 100);
  desk.pointer.MoveTo(r.left, r.top + 5);  // on the edge counts as outside
  form->OnHintWatchdogTimer();
  EXPECT_FALSE(desk.labels.showHint);
  EXPECT_EQ(desk.timers.intervals[kHintWatchdogTimer], 0);
}

TEST_F(HintTest, BarsBecomeBrokenBarsInTheUtf8Hint) { EXPECT_EQ(HintFor("a|b"), "a\xC2\xA6" "b"); }

TEST_F(HintTest, ARowPreviewsTheLineBesideIt) {
  Fill(100);
  desk.titles.SetTopIndex(44);
  form->OnLabelFollowTimer();
  desk.labels.item = 8 + 3;  // the fourth visible row
  form->OnLabelClick();
  EXPECT_EQ(desk.labels.hint, ClipAtLine(47, 100));
}

TEST_F(HintTest, RowBeyondTheLastClipShowsNothing) {
  Fill(2);
  desk.labels.hint = "old";
  desk.labels.item = 5;
  form->OnLabelClick();
  EXPECT_EQ(desk.labels.hint, "");
  EXPECT_FALSE(desk.labels.showHint);
  EXPECT_EQ(desk.labels.item, -1);
}

}  // namespace
}  // namespace solvane
