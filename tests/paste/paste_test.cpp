#include <gtest/gtest.h>

#include "support/program_fixture.h"

namespace solvane {
namespace {

using Log = std::vector<std::string>;
const Log kPasteKeys = {"key 11 0 down", "key 56 0 down", "key 56 0 up", "key 11 0 up"};  // Ctrl+V

// A pick in the clip window: what goes on the clipboard, in which order the
// window steps aside and Ctrl+V is typed, and how the list changes.
class PasteTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    Start();
    program->state().PasteDelay = 100;
    for (const char* text : {"A", "B", "C"}) CopyLater(text);
    desk.clipboard.log = &log;
    desk.window.log = &log;
    desk.input.log = &log;
  }
  void Click(int line) {
    desk.titles.SetItemIndex(line);
    program->OnListClick();
  }

  Log log;
};

TEST_F(PasteTest, SingleClipGoesToTheClipboardThenTheWindowHidesThenCtrlV) {
  const std::string store = program->store().Text();
  program->state().WindowShown = true;
  Click(1);
  Log expected = {"clipboard B", "minimize", "hide", "sleep 100"};
  expected.insert(expected.end(), kPasteKeys.begin(), kPasteKeys.end());
  EXPECT_EQ(log, expected);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"B", "C", "A"}));
  EXPECT_EQ(program->store().Text(), store);      // no clip added, none removed
  EXPECT_FALSE(program->state().SkipNextChange);  // the paste's own notice was swallowed
  EXPECT_FALSE(program->state().WindowShown);
  EXPECT_EQ(desk.titles.ItemIndex(), -1);
  EXPECT_EQ(desk.titles.TopIndex(), 0);
}

TEST_F(PasteTest, LineEndingButtonsAppendTheirBreaks) {
  program->ToggleAppendCrLf();
  Click(2);
  EXPECT_EQ(desk.clipboard.text(), "A\r\n");
  program->ToggleAppendCrLfLf();  // releases +cR
  EXPECT_FALSE(program->appendCrLf());
  Click(2);
  EXPECT_EQ(desk.clipboard.text(), "B\r\n\n");
  EXPECT_TRUE(program->appendCrLfLf());  // they stay down
  program->ToggleAppendCrLfLf();
  EXPECT_FALSE(program->appendCrLfLf());
  Click(0);
  EXPECT_EQ(desk.clipboard.text(), "B");
}

TEST_F(PasteTest, RunToTopJoinsFromTheClickedLineUpAndMovesNothing) {
  program->ToggleRunToTop();
  Click(2);
  EXPECT_EQ(desk.clipboard.text(), "A\r\nB\r\nC\r\n");
  EXPECT_EQ(Titles(), (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_FALSE(program->runToTop());  // one paste only

  program->ToggleRunToTop();
  program->ToggleAppendCrLf();
  Click(0);
  EXPECT_EQ(desk.clipboard.text(), "C\r\n\r\n");
}

TEST_F(PasteTest, MultiLineClipPastesWithCrLf) {
  CopyLater("one\ntwo\rthree");
  Click(0);
  EXPECT_EQ(desk.clipboard.text(), "one\r\ntwo\r\nthree");
}

TEST_F(PasteTest, PasteTrimsTheListToSeventyTwoTitles) {
  for (int i = 0; i < 72; ++i) CopyLater("clip " + std::to_string(i));
  ASSERT_EQ(desk.titles.Count(), 75);  // capture alone never trims
  const std::string gone = desk.titles.Get(72);
  const std::string store = program->store().Text();
  Click(5);
  EXPECT_EQ(desk.titles.Count(), 74);
  EXPECT_EQ(Title(0), "clip 66");
  for (int i = 0; i < desk.titles.Count(); ++i) EXPECT_NE(desk.titles.Get(i), gone);
  EXPECT_EQ(program->store().Text(), store);  // the dropped title's record stays
  // The move and the trim are shown at once, not step by step.
  EXPECT_EQ(desk.titles.changesInUpdate, 3);
  EXPECT_EQ(desk.titles.updateDepth, 0);
}

TEST_F(PasteTest, TitleWithoutARecordPastesNothing) {
  desk.titles.Insert(0, "orphan" + kTitlePadding + "9999999999999");
  Click(0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(desk.clipboard.text(), "C");
  EXPECT_FALSE(program->state().SkipNextChange);
  CopyLater("next copy");  // is not swallowed
  EXPECT_EQ(Title(0), "next copy");
}

TEST_F(PasteTest, LockedClipboardSendsNoCtrlV) {
  desk.clipboard.set_locked(true);
  program->state().WindowShown = true;
  Click(1);
  EXPECT_EQ(desk.input.keyEvents, 0);
  EXPECT_FALSE(program->state().SkipNextChange);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"C", "B", "A"}));
  desk.clipboard.set_locked(false);
  CopyLater("D");
  EXPECT_EQ(desk.titles.Count(), 4);
}

TEST_F(PasteTest, ClickOnALineWithoutTheMarkerDoesNotPaste) {
  desk.titles.Insert(0, "no marker here");
  desk.titles.SetTopIndex(2);
  Click(0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(desk.titles.TopIndex(), 0);
}

TEST_F(PasteTest, RunButtonOnlyStaysDownAtTheTopOfTheList) {
  desk.titles.SetTopIndex(1);
  program->ToggleRunToTop();
  EXPECT_FALSE(program->runToTop());
  desk.titles.SetTopIndex(0);
  program->ToggleRunToTop();
  EXPECT_TRUE(program->runToTop());
  program->ToggleRunToTop();
  EXPECT_FALSE(program->runToTop());
}

TEST_F(PasteTest, ZeroAndLongDelaysAreWaitedAsSet) {
  program->state().PasteDelay = 0;
  Click(0);
  EXPECT_EQ(log[3], "sleep 0");
  log.clear();
  program->state().PasteDelay = 5000;
  Click(0);
  EXPECT_EQ(log[3], "sleep 5000");
}

}  // namespace
}  // namespace solvane
