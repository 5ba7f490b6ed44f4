#include <gtest/gtest.h>

#include "base/text_buffer.h"
#include "support/program_fixture.h"

namespace solvane {
namespace {

// What becomes a clip when another program copies text, and how it is kept.
using CaptureTest = testing::ProgramTest;

TEST_F(CaptureTest, TextOnTheClipboardAtStartBecomesTheFirstClip) {
  Copy("already there");
  Start();
  ASSERT_EQ(desk.titles.Count(), 1);
  EXPECT_EQ(Title(0), "already there");
  EXPECT_EQ(TextOf(0), "already there");
  EXPECT_FALSE(program->state().SkipNextChange);  // the joining notice was swallowed
  EXPECT_EQ(program->capture().LastCapture(), "already there");
  EXPECT_EQ(desk.window.width, 250);
  EXPECT_TRUE(desk.dialogs.errors.empty());
}

TEST_F(CaptureTest, StartWithoutTextRecordsNothing) {
  Start();
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(program->store().Count(), 0);
}

TEST_F(CaptureTest, ItemLayoutIsTitlePaddingMarkerAndKey) {
  Start();
  desk.clock.tick = 123456;
  Copy("abc");
  const std::string item = desk.titles.Get(0);
  EXPECT_EQ(item, "abc" + std::string(70, ' ') + "/:hdr:\\" + "0003874106301");
  EXPECT_EQ(program->store().Text(), "/:hdr:\\0003874106301\r\nabc\r\n/:tlr:\\0003874106301");
}

TEST_F(CaptureTest, OnlyTheImmediatelyPrecedingTextIsADuplicate) {
  Start();
  Copy("A");
  Copy("B");
  Copy("A");
  ASSERT_EQ(desk.titles.Count(), 3);
  EXPECT_EQ(Title(0), "A");
  EXPECT_EQ(Title(1), "B");
  EXPECT_EQ(Title(2), "A");
  EXPECT_NE(Key(0), Key(2));

  desk.clock.seconds += 7;
  Copy("A");
  EXPECT_EQ(desk.titles.Count(), 3);
  // A repeated copy still counts as a change for autosave.
  EXPECT_EQ(program->state().LastChangeTime, desk.clock.seconds);
}

TEST_F(CaptureTest, StartAddsTheClipboardTextEvenWhenTheNewestClipMatches) {
  Start();
  Copy("same");
  ASSERT_TRUE(program->OnClose());
  program.reset();
  // Starting again with the same text: the last capture is empty at start,
  // so it is recorded once more.
  Start();
  EXPECT_EQ(desk.titles.Count(), 2);
  EXPECT_EQ(Title(0), "same");
}

TEST_F(CaptureTest, MultiLineAndWideTextsGetShortTitlesButWholeRecords) {
  Start();
  Copy("line one\r\nline two");
  EXPECT_EQ(Title(0), "line one...");
  EXPECT_EQ(TextOf(0), "line one\r\nline two");
  Copy("\t\r\n   \r\n  spaced\nnext\r");
  EXPECT_EQ(Title(0), "  spaced...");
  EXPECT_EQ(TextOf(0), "\t\r\n   \r\n  spaced\r\nnext\r\n");
  Copy(std::string(40, 'a'));
  EXPECT_EQ(Title(0), std::string(30, 'a') + "...");
  EXPECT_EQ(TextOf(0), std::string(40, 'a'));
}

TEST_F(CaptureTest, EmptyTextIsRecordedWithAnEmptyTitle) {
  Start();
  Copy("x");
  Copy("");
  ASSERT_EQ(desk.titles.Count(), 2);
  EXPECT_EQ(Title(0), "");
  EXPECT_EQ(TextOf(0), "");
  EXPECT_EQ(program->store().Line(1), "");
  Copy("");
  EXPECT_EQ(desk.titles.Count(), 2);
}

TEST_F(CaptureTest, BytesAreKeptAndTextEndsAtNul) {
  Start();
  Copy("caf\xe9\tna\xefve \x80\xff");
  EXPECT_EQ(TextOf(0), "caf\xe9\tna\xefve \x80\xff");
  Copy(std::string("left\0right", 10));
  EXPECT_EQ(TextOf(0), "left");
}

TEST_F(CaptureTest, OtherFormatsAndALockedClipboardAreIgnored) {
  Start();
  desk.clipboard.CopyOtherFormat();
  EXPECT_EQ(desk.titles.Count(), 0);
  desk.clipboard.set_locked(true);
  Copy("held");
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  desk.clipboard.set_locked(false);
  Copy("free");
  EXPECT_EQ(desk.titles.Count(), 1);
}

TEST_F(CaptureTest, CopiesMarkedSecretAreNeverRecorded) {
  Start();
  Copy("before");
  const auto changed = program->state().LastChangeTime;
  desk.clock.seconds += 9;
  desk.clipboard.CopySecret("hunter2");
  EXPECT_EQ(desk.titles.Count(), 1);
  EXPECT_EQ(program->capture().LastCapture(), "before");
  EXPECT_EQ(program->state().LastChangeTime, changed);  // not even a change for autosave
  EXPECT_EQ(program->store().Text().find("hunter2"), std::string::npos);
  Copy("after");
  EXPECT_EQ(desk.titles.Count(), 2);
}

TEST_F(CaptureTest, CachingOffIgnoresChangesButStillConsumesTheSkipFlag) {
  Start();
  desk.window.visible = true;
  program->state().WindowShown = true;
  program->OnCachingCommand();
  EXPECT_FALSE(program->cachingOn());
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(program->state().WindowShown);

  Copy("ignored");
  EXPECT_EQ(desk.titles.Count(), 0);
  program->state().SkipNextChange = true;
  Copy("also ignored");
  EXPECT_FALSE(program->state().SkipNextChange);

  program->OnCachingCommand();
  EXPECT_TRUE(program->cachingOn());
  Copy("recorded");
  ASSERT_EQ(desk.titles.Count(), 1);
  EXPECT_EQ(Title(0), "recorded");
}

TEST_F(CaptureTest, SkipFlagSwallowsExactlyOneChange) {
  Start();
  program->state().SkipNextChange = true;
  Copy("own paste");
  EXPECT_EQ(desk.titles.Count(), 0);
  Copy("next copy");
  EXPECT_EQ(desk.titles.Count(), 1);
}

TEST_F(CaptureTest, TooLongTextShowsTheErrorAndChangesNothing) {
  Start();
  Copy("kept");
  program->store().set_capacity(program->store().CharCount() + 100);
  const std::string before = program->store().Text();
  Copy(std::string(200, 'q'));
  ASSERT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(desk.dialogs.errors[0], "RichEdit line insertion error");
  EXPECT_EQ(program->store().Text(), before);
  EXPECT_EQ(program->capture().LastCapture(), "kept");
  EXPECT_EQ(desk.titles.Count(), 1);
  // The program runs on.
  Copy("small");
  EXPECT_EQ(desk.titles.Count(), 2);
}

TEST_F(CaptureTest, RefusedTitleLeavesNoRecordBehind) {
  Start();
  Copy("kept");
  const std::string before = program->store().Text();
  desk.titles.refuseAfter = 1;
  Copy("no room");
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"RichEdit line insertion error"});
  EXPECT_EQ(program->store().Text(), before);
  EXPECT_EQ(program->capture().LastCapture(), "kept");
  EXPECT_EQ(desk.titles.Count(), 1);
  // Once the list takes titles again, the same text is a clip after all.
  desk.titles.refuseAfter = -1;
  Copy("no room");
  EXPECT_EQ(TextOf(0), "no room");
}

TEST_F(CaptureTest, NewKeyNeverRepeatsOneInTheStore) {
  Start();
  desk.clock.tick = 123456;
  // The key the first capture would draw is already taken.
  program->store().Assign({"/:hdr:\\0003874106301", "old", "/:tlr:\\0003874106301"});
  Copy("new");
  EXPECT_NE(Key(0), "0003874106301");
  EXPECT_EQ(TextOf(0), "new");
}

TEST_F(CaptureTest, TextQuotingTheTrailerOfTheKeyAboutToBeDrawnComesBackWhole) {
  Start();
  desk.clock.tick = 123456;
  // A piece of a clip file copied in an editor, whose trailer line names the
  // key the first capture would draw: the record must not end at that line.
  const std::string text = "copied\r\n/:tlr:\\0003874106301\r\n/:TLR:\\0003874106301\r\nmore";
  Copy(text);
  ASSERT_EQ(desk.titles.Count(), 1);
  EXPECT_NE(Key(0), "0003874106301");
  EXPECT_EQ(TextOf(0), text);
}

TEST_F(CaptureTest, TinyTickCountsStillGiveFreshKeys) {
  Start();
  desk.clock.tick = 0;  // every draw with range 0 gives 0
  Copy("one");
  Copy("two");
  Copy("three");
  EXPECT_EQ(Key(2), "0000000000000");
  EXPECT_NE(Key(1), Key(2));
  EXPECT_NE(Key(0), Key(1));
  EXPECT_EQ(TextOf(0), "three");
  EXPECT_EQ(TextOf(1), "two");
  EXPECT_EQ(TextOf(2), "one");
}

TEST_F(CaptureTest, MonitorLeavesTheChainWithTheWindow) {
  fake::ForeignViewer& other = desk.clipboardChain.JoinForeignViewer();
  Start();
  program.reset();
  EXPECT_EQ(desk.clipboardChain.head(), other.window);
  Copy("after exit");
  EXPECT_EQ(desk.titles.Count(), 0);
}

}  // namespace
}  // namespace solvane
