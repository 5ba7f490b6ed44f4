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
  // The clip the key pasted, by its text; "" when nothing was pasted.
  std::string PastedBy(unsigned key) {
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
  Fill(60);
  // Each paste moves its clip to the top, so the line's text is read first.
  struct Case {
    int top;
    unsigned key;
    int line;
  };
  for (const Case& c : {Case{0, '1', 0}, Case{5, '3', 38}, Case{5, '6', 5}, Case{5, 'A', 10}, Case{40, '0', 45},
                        Case{20, 'J', 55}, Case{3, 'J', 19}}) {
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
  Fill(50);
  form->ToggleRunToTop();
  form->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.topWrites, 0);
  EXPECT_TRUE(form->runToTop());
  desk.titles.SetTopIndex(7);
  form->OnLabelFollowTimer();
  EXPECT_EQ(desk.labels.top, 7);
  EXPECT_FALSE(form->runToTop());
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

TEST_F(KeyboardTest, BadPasteDelayIsReportedAndTheNextActivationTriesAgain) {
  desk.settingsDialog.hotkeyText = "F9";
  desk.settingsDialog.pasteDelayText = "fast";
  form->HandleEvent([&] { form->OnActivate(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"'fast' is not a valid integer value"});
  EXPECT_EQ(form->hotkey().Key(), 0x78);  // applied before the failure
  EXPECT_FALSE(form->state().FirstActivationDone);
  EXPECT_EQ(form->history().autosaveInterval(), 3000);

  desk.settingsDialog.pasteDelayText = " 250";
  form->HandleEvent([&] { form->OnActivate(); });
  EXPECT_TRUE(form->state().FirstActivationDone);
  EXPECT_EQ(form->state().PasteDelay, 250);
  EXPECT_EQ(form->history().autosaveInterval(), 0);  // autosave unchecked
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
