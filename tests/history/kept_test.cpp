// Kept clips: Insert keeps one for good, the 72-line trim and Clear Clips
// pass it by, its mark survives a restart, and deleting it asks first.

#include <algorithm>

#include "history/history_fixture.h"

namespace solvane::history_testing {
namespace {

using Names = std::vector<std::string>;
const std::string kKept = "Kept.qlx";

class KeptTest : public HistoryTest {
 protected:
  void SetUp() override { Start(); }
  void Press(unsigned key) {
    program->HandleEvent([&] { program->OnKeyDown(key, 0); });
  }
  void Show() {
    if (!program->state().WindowShown) program->OnHotkey();
  }
  // Insert, then the label of `line` with the list scrolled to `top`.
  void Keep(int line, int top = 0) {
    Show();
    desk.titles.SetTopIndex(top);
    Press(kVkInsert);
    EXPECT_EQ(desk.searchLine.notice, "Keep which clip?");
    const int label = line % 36;
    Press(label < 9 ? '1' + label : label == 9 ? '0' : 'A' + label - 10);
    EXPECT_EQ(desk.searchLine.notice, "");
  }
  bool Marked(const std::string& title) {
    const Names titles = Titles();
    const auto at = std::find(titles.begin(), titles.end(), title);
    return at != titles.end() && desk.titles.Marked(static_cast<int>(at - titles.begin()));
  }
};

TEST_F(KeptTest, TheTrimPassesKeptClipsByAndLeavesMoreThan72LinesWhenOnlyKeptOnesLieThere) {
  Fill(75);  // "clip 74" on line 0 ... "clip 0" on line 74
  Keep(72, 40);
  Keep(74, 40);
  EXPECT_TRUE(Marked("clip 2"));
  EXPECT_TRUE(Marked("clip 0"));
  EXPECT_FALSE(Marked("clip 1"));
  for (int paste = 0; paste < 5; ++paste) {
    Show();
    Press('Z');  // line 35
  }
  EXPECT_EQ(desk.titles.Count(), 74);  // "clip 1" went; the kept ones stay below line 72
  EXPECT_EQ(Title(72), "clip 2");
  EXPECT_EQ(Title(73), "clip 0");

  // A kept clip moves to the top on paste like any other.
  desk.titles.SetItemIndex(73);
  program->OnListClick();
  EXPECT_EQ(Title(0), "clip 0");
  EXPECT_TRUE(Marked("clip 0"));
}

TEST_F(KeptTest, InsertKeepsTheLineUnderThePointerOrInASearchTheHighlightedMatch) {
  Fill(3);
  Show();
  desk.titles.screenBounds = {10, 20, 243, 493};
  desk.pointer.MoveTo(50, 20 + 13 + 5);  // on line 1
  Press(kVkInsert);
  EXPECT_TRUE(Marked("clip 1"));
  EXPECT_EQ(desk.searchLine.notice, "");
  desk.pointer.MoveTo(0, 0);
  program->OpenSearch();
  program->OnSearchTextChange("clip 0");
  Press(kVkInsert);
  EXPECT_TRUE(Marked("clip 0"));
  EXPECT_FALSE(Marked("clip 2"));
}

TEST_F(KeptTest, ClearClipsLeavesTheKeptClipsInTheirOrderAndSaysSo) {
  Fill(5);
  Keep(3);  // "clip 1"
  Keep(1);  // "clip 3"
  desk.settingsDialog.promptClear = true;
  program->ClearClips();
  EXPECT_EQ(desk.dialogs.questions.back(), "Clear all current clips? The 2 kept clips stay.");
  EXPECT_EQ(Titles(), (Names{"clip 3", "clip 1"}));
  EXPECT_EQ(TextOf(0), "clip 3");
  EXPECT_EQ(TextOf(1), "clip 1");
  EXPECT_EQ(File(kCb1).find("clip 4"), std::string::npos);
  EXPECT_NE(File(kCb1).find("clip 1"), std::string::npos);
  EXPECT_EQ(std::count(File(kLb1).begin(), File(kLb1).end(), '\n'), 2);

  // Let go of both: the next Clear asks as before and empties everything.
  Keep(0);
  Keep(1);
  program->ClearClips();
  EXPECT_EQ(desk.dialogs.questions.back(), "Clear all current clips?");
  EXPECT_EQ(desk.titles.Count(), 0);
}

TEST_F(KeptTest, MarksSurviveARestartAndTheFileKeepsOnlyKeysATitleCarries) {
  Fill(3);
  Keep(1);  // "clip 1"
  const std::string key = Key(1);
  EXPECT_EQ(File(kKept), key + "\r\n");  // saved at once
  File(kKept) += "9999999999999\r\nnot a key\r\n";
  Restart();
  EXPECT_TRUE(Marked("clip 1"));
  EXPECT_FALSE(Marked("clip 2"));
  program->history().SaveHistory();
  EXPECT_EQ(File(kKept), key + "\r\n");
  EXPECT_TRUE(desk.dialogs.errors.empty());

  // A kept file that cannot be read: said once, no mark, and kept aside
  // before the next save writes the file again.
  Hold(kKept);
  Restart();
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_FALSE(Marked("clip 1"));
  LetGo();
  program->history().SaveHistory();
  EXPECT_TRUE(HasFile("Kept (not loaded).qlx"));

  // With neither clip file read there is no list to find the keys on:
  // they are not dropped, the kept file is kept aside with the others.
  RemoveFile("Kept (not loaded).qlx");
  program->OnClose();
  File(kKept) = key + "\r\n";
  Hold(kLb1);
  Hold(kCb1);
  StartOver();
  LetGo();
  program->history().SaveHistory();
  EXPECT_EQ(File("Kept (not loaded).qlx"), key + "\r\n");
}

TEST_F(KeptTest, DeletingAKeptClipAsksFirstAndF4BringsItBackKept) {
  Fill(3);
  Keep(0);  // "clip 2"
  desk.dialogs.answer = false;
  Press(kVkDelete);
  Press('1');
  EXPECT_EQ(desk.dialogs.questions.back(), "Delete the kept clip \"clip 2\"?");
  EXPECT_EQ(Title(0), "clip 2");
  desk.dialogs.answer = true;
  Press(kVkDelete);
  Press('1');
  EXPECT_EQ(Titles(), (Names{"clip 1", "clip 0"}));
  EXPECT_EQ(File(kKept), "");
  Press(kVkF4);
  EXPECT_EQ(Title(0), "clip 2");
  EXPECT_TRUE(Marked("clip 2"));
  EXPECT_EQ(File(kKept), Key(0) + "\r\n");
}

}  // namespace
}  // namespace solvane::history_testing
