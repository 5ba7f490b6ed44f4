// Removing one clip with the window up, and putting it back with F4.

#include "history/history_fixture.h"

namespace solvane::history_testing {
namespace {

using Names = std::vector<std::string>;

class RemovalTest : public HistoryTest {
 protected:
  // "clip 3" on line 0 down to "clip 0", one of them with an exact text,
  // saved, and the window up.
  void SetUp() override {
    Start();
    Fill(3);
    ++desk.clock.tick;
    desk.clipboard.CopyUnicode(
        "\xC5\x81\xC3\xB3"
        "d\xC5\xBA");  // Łódź: not Latin-1
    program->OnSaveClipsCommand();
    program->OnHotkey();
  }
  void Press(unsigned key) {
    program->HandleEvent([&] { program->OnKeyDown(key, 0); });
  }
  bool FilesHold(const std::string& text) {
    return File(kCb1).find(text) != std::string::npos || File("Cb1.utf8.qlx").find(text) != std::string::npos;
  }
};

TEST_F(RemovalTest, DeleteThenALabelRemovesThatClipFromTheListAndTheFilesAndF4PutsItBack) {
  const Names before = Titles();
  const std::string lb1 = File(kLb1);
  Press(kVkDelete);
  EXPECT_EQ(desk.searchLine.notice, "Delete which clip?");
  Press('1');  // line 0: the exact text
  EXPECT_EQ(Titles(), (Names{"clip 2", "clip 1", "clip 0"}));
  EXPECT_FALSE(FilesHold("d\xC5\xBA"));  // saved at once, not at the next tick
  EXPECT_EQ(std::count(File(kLb1).begin(), File(kLb1).end(), '\n'), 3);
  EXPECT_EQ(desk.searchLine.notice, "Deleted. F4 restores it.");
  EXPECT_TRUE(program->state().WindowShown);

  Press(kVkF4);
  EXPECT_EQ(Titles(), before);
  EXPECT_EQ(desk.titles.ExactLine(0).substr(0, 7),
            "\xC5\x81\xC3\xB3"
            "d\xC5\xBA");
  EXPECT_EQ(File(kLb1), lb1);
  EXPECT_TRUE(FilesHold("d\xC5\xBA"));
  EXPECT_EQ(desk.searchLine.notice, "");
  Press(kVkF4);  // nothing more to put back
  EXPECT_EQ(Titles(), before);

  // The clip pasted after all: the one put back, exact text and all.
  desk.titles.SetItemIndex(0);
  program->OnListClick();
  EXPECT_EQ(desk.clipboard.unicode(),
            "\xC5\x81\xC3\xB3"
            "d\xC5\xBA");
}

TEST_F(RemovalTest, DeleteTakesTheLineUnderThePointerOrInASearchTheHighlightedMatch) {
  const Names before = Titles();
  desk.titles.screenBounds = {10, 20, 243, 493};
  desk.pointer.MoveTo(50, 20 + 13 * 2 + 5);  // on line 2
  Press(kVkDelete);
  EXPECT_EQ(Titles(), (Names{before[0], before[1], before[3]}));
  EXPECT_FALSE(FilesHold("clip 1"));

  program->OpenSearch();
  program->OnSearchTextChange("clip");
  program->OnKeyDown(kVkDown, 0);  // "clip 0"
  Press(kVkDelete);
  EXPECT_EQ(Titles().size(), 2u);
  EXPECT_FALSE(FilesHold("clip 0"));
  EXPECT_EQ(desk.searchLine.status, "1");  // the matches taken anew
  Press(kVkF4);
  EXPECT_EQ(desk.searchLine.status, "2");
  EXPECT_EQ(Titles()[2], "clip 0");
}

TEST_F(RemovalTest, AnyOtherKeyCancelsAndOnceTheWindowHidesTheRemovalIsFinal) {
  const Names before = Titles();
  Press(kVkDelete);
  Press(kVkEscape);  // cancels, and leaves the window up
  EXPECT_EQ(desk.searchLine.notice, "");
  EXPECT_TRUE(program->state().WindowShown);
  Press('2');  // a label again: pastes
  EXPECT_EQ(Titles(), (Names{before[1], before[0], before[2], before[3]}));

  program->OnHotkey();
  Press(kVkDelete);
  Press('4');
  EXPECT_EQ(Titles().size(), 3u);
  program->OnHideButton();
  program->OnHotkey();
  EXPECT_EQ(desk.searchLine.notice, "");
  Press(kVkF4);
  EXPECT_EQ(Titles().size(), 3u);
}

}  // namespace
}  // namespace solvane::history_testing
