// Two machines sharing one history through a folder that a sync program
// copies between them: what each copies, pastes, removes, keeps and clears
// reaches the other, the same text is one clip, nothing removed comes back,
// and a folder that fails or a wrong passphrase loses nothing here.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_desktop.h"

namespace solvane::testing {
namespace {

using Names = std::vector<std::string>;
constexpr char kShare[] = "D:\\Share";
constexpr char kPrefix[] = "D:\\Share\\";
constexpr char kPassphrase[] = "correct horse";

struct Machine {
  explicit Machine(std::uint64_t stream) { desk.crypto.stream = stream; }
  void Start(std::optional<ShareReadAhead> ahead = std::nullopt) {
    ClipWindowDesktop platform = desk.Platform();
    if (ahead) platform.shareReadAhead = [ahead]() mutable { return std::exchange(ahead, std::nullopt); };
    program = std::make_unique<ClipWindow>(std::move(platform), ClipWindow::kStartLater);
    program->Start();
    program->ShowStartProblems();
    program->OnActivate();
  }
  void Share(const std::string& passphrase = kPassphrase) {
    desk.settingsDialog.shareFolder = kShare;
    desk.settingsDialog.sharePassphrase = passphrase;
    program->HandleEvent([&] { program->ApplySettings(desk.settingsDialog); });
  }
  void Copy(const std::string& text, std::int64_t at) {
    ++desk.clock.tick;
    desk.clock.utcMs = at;
    desk.clipboard.CopyText(text);
  }
  void CopyUnicode(const std::string& utf8, std::int64_t at) {
    ++desk.clock.tick;
    desk.clock.utcMs = at;
    desk.clipboard.CopyUnicode(utf8);
  }
  void Press(unsigned key) {
    program->HandleEvent([&] { program->OnKeyDown(key, 0); });
  }
  void Check() {
    program->HandleEvent([&] { program->OnShareCheck(); });
  }
  Names Titles() {
    Names titles;
    for (int i = 0; i < desk.titles.Count(); ++i) {
      titles.push_back(TitleOf(desk.titles.Get(i)));
    }
    return titles;
  }
  // Every byte the machine has put in the shared folder.
  std::string FolderBytes() {
    std::string bytes;
    for (const auto& [path, content] : desk.files.files) {
      if (path.starts_with(kPrefix)) bytes += content;
    }
    return bytes;
  }

  FakeDesktop desk;
  std::unique_ptr<ClipWindow> program;
};

// A two-way sync as a file-sync program makes it: each file goes where it
// is missing or shorter (the files only grow).
void Sync(Machine& a, Machine& b) {
  for (auto* pair : {&a, &b}) {
    Machine& from = *pair;
    Machine& to = pair == &a ? b : a;
    for (const auto& [path, content] : from.desk.files.files) {
      if (!path.starts_with(kPrefix)) continue;
      std::string& there = to.desk.files.files[path];
      if (there.size() < content.size()) there = content;
    }
  }
}

class SharedHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    a.Start();
    b.Start();
    a.desk.files.files[std::string(kPrefix) + "readme.txt"] = "";  // the folder exists on both
    b.desk.files.files[std::string(kPrefix) + "readme.txt"] = "";
    a.Share();
    Sync(a, b);
    b.Share();
    SyncAndCheck();
  }
  void SyncAndCheck() {
    Sync(a, b);
    a.Check();
    b.Check();
    Sync(a, b);
    a.Check();
    b.Check();
  }

  Machine a{1}, b{2};
};

TEST_F(SharedHistoryTest, CopiesOnBothMachinesMeetInTimeOrderAndOneTextIsOneClip) {
  a.Copy("from a", 1'800'000'010'000);
  b.Copy("from b", 1'800'000'020'000);
  a.Copy("on both", 1'800'000'030'000);
  b.Copy("on both", 1'800'000'040'000);
  SyncAndCheck();
  EXPECT_EQ(a.Titles(), (Names{"on both", "from b", "from a"}));
  EXPECT_EQ(b.Titles(), a.Titles());
  // Copied again on b after it came from a: still one clip, now on top.
  b.Copy("from a", 1'800'000'050'000);
  SyncAndCheck();
  EXPECT_EQ(b.Titles(), (Names{"from a", "on both", "from b"}));
  EXPECT_EQ(a.Titles(), b.Titles());
  // The merged clips paste their own text and are in the local files.
  EXPECT_NE(a.desk.files.files[FakeDesktop::Path("Cb1.qlx")].find("from b"), std::string::npos);
  EXPECT_TRUE(a.desk.dialogs.errors.empty()) << a.desk.dialogs.errors.front();
  // No copied text reaches the folder in the clear, nor the passphrase.
  for (Machine* m : {&a, &b}) {
    const std::string bytes = m->FolderBytes();
    for (const char* text : {"from a", "from b", "on both", kPassphrase}) {
      EXPECT_EQ(bytes.find(text), std::string::npos) << text;
    }
  }
}

// A machine with a history of its own joins a folder that holds clips: its
// first check merges them, a text it holds too only once, and still
// publishes every clip of its own.
TEST_F(SharedHistoryTest, AMachineThatJoinsWithClipsOfItsOwnMergesAndPublishesThemAtOnce) {
  a.Copy("from a", 1'800'000'010'000);
  SyncAndCheck();
  Machine c{3};
  c.Start();
  c.desk.files.files[std::string(kPrefix) + "readme.txt"] = "";
  c.Copy("from a", 1'800'000'000'500);  // copied on both: one clip
  c.Copy("older on c", 1'800'000'001'000);
  c.Copy("newer on c", 1'800'000'002'000);
  Sync(a, c);
  c.Share();
  Sync(a, c);
  a.Check();
  EXPECT_EQ(c.Titles(), (Names{"newer on c", "older on c", "from a"}));
  EXPECT_EQ(a.Titles(), c.Titles());
}

// The start reads the folder on a thread of its own before the history that
// merges it exists: what arrives after that read is merged with it, and a
// read of another folder is not taken for this one's.
TEST_F(SharedHistoryTest, AStartMergesTheFolderReadAheadWithWhatArrivedSince) {
  a.Copy("one", 1'800'000'010'000);
  SyncAndCheck();
  ASSERT_TRUE(b.program->OnClose());
  a.Copy("two", 1'800'000'020'000);
  Sync(a, b);
  const auto readAhead = [&] {
    return ReadShareAhead(b.desk.files, b.desk.crypto, FakeDesktop::kFolder, "DESK", kShare);
  };
  auto ahead = readAhead();
  ASSERT_TRUE(ahead);
  ASSERT_EQ(ahead->news.touched.count("two"), 1u);
  a.Copy("three", 1'800'000'030'000);
  Sync(a, b);
  b.Start(std::move(ahead));
  EXPECT_EQ(b.Titles(), (Names{"three", "two", "one"}));

  ASSERT_TRUE(b.program->OnClose());
  a.Copy("four", 1'800'000'040'000);
  Sync(a, b);
  auto elsewhere = readAhead();
  ASSERT_TRUE(elsewhere);
  elsewhere->folder = "D:\\Elsewhere";
  ShareEvent stranger;
  stranger.machine = "elsewhere";
  stranger.time = 1'800'000'050'000;
  stranger.text = "from another folder";
  elsewhere->state.ledger.Add(stranger);
  elsewhere->news.touched.insert(stranger.text);
  b.Start(std::move(elsewhere));
  EXPECT_EQ(b.Titles(), (Names{"four", "three", "two", "one"}));
}

// Moved to a new folder, a machine starts its file there from the first
// entry, with the header that names it: without it no one reads the file.
TEST_F(SharedHistoryTest, AMachineMovedToAnotherFolderStartsAFileThereThatCanBeRead) {
  a.Copy("one", 1'800'000'010'000);
  SyncAndCheck();
  a.desk.files.files["D:\\Other\\readme.txt"] = "";
  a.desk.settingsDialog.shareFolder = "D:\\Other";
  a.desk.settingsDialog.sharePassphrase = kPassphrase;
  a.program->HandleEvent([&] { a.program->ApplySettings(a.desk.settingsDialog); });
  a.Copy("two", 1'800'000'020'000);
  const std::string machine = a.program->share().machineId();
  const ShareLogRead read = ReadShareLog(a.desk.files.files["D:\\Other\\" + machine + ".log"]);
  EXPECT_EQ(read.machine, machine);
  ASSERT_FALSE(read.entries.empty());
  EXPECT_EQ(read.entries.front().position, 0u);
}

TEST_F(SharedHistoryTest, ARemovalAndAClearOnOneMachineHoldEverywhereAndNothingComesBack) {
  a.Copy("one", 1'800'000'010'000);
  a.Copy("two", 1'800'000'020'000);
  b.Copy("three", 1'800'000'030'000);
  SyncAndCheck();
  ASSERT_EQ(b.Titles(), (Names{"three", "two", "one"}));
  // Removed on b with the window up: it goes once the window hides (until
  // then F4 may still put it back).
  b.program->OnHotkey();
  b.Press(kVkDelete);
  b.Press('3');  // line 2: "one"
  SyncAndCheck();
  EXPECT_EQ(a.Titles(), (Names{"three", "two", "one"}));
  b.program->OnHotkey();  // hidden: final
  SyncAndCheck();
  EXPECT_EQ(a.Titles(), (Names{"three", "two"}));

  // A keeps "two"; b clears while its sync is paused, and a copies more.
  a.program->OnHotkey();
  a.Press(kVkInsert);
  a.Press('2');
  a.program->OnHotkey();
  Sync(a, b);
  b.Check();
  b.desk.clock.utcMs = 1'800'000'050'000;
  b.program->ClearClips();
  a.Copy("after", 1'800'000'060'000);
  SyncAndCheck();
  EXPECT_EQ(a.Titles(), (Names{"after", "two"}));
  EXPECT_EQ(b.Titles(), a.Titles());
  // An old file of "one" arriving late (a third machine's, say) changes nothing.
  a.Copy("one", 1'800'000'015'000);
  SyncAndCheck();
  EXPECT_EQ(b.Titles(), (Names{"one", "after", "two"})) << "a new copy does come back";
}

// Put in between the lines already there, which keep their marks and the
// selection.
TEST_F(SharedHistoryTest, AMergedClipGoesInBetweenAndTheLinesAroundItStayAsTheyWere) {
  b.Copy("old on b", 1'800'000'010'000);
  a.Copy("from a", 1'800'000'020'000);
  b.Copy("new on b", 1'800'000'030'000);
  b.desk.titles.SetItemIndex(1);
  b.desk.titles.SetState(1, 1);
  SyncAndCheck();
  ASSERT_EQ(b.Titles(), (Names{"new on b", "from a", "old on b"}));
  EXPECT_EQ(b.desk.titles.ItemIndex(), 2);
  EXPECT_EQ(b.desk.titles.State(2), 1);
  // Newer than every line: on top, the rest moved down as they were.
  a.Copy("newest from a", 1'800'000'040'000);
  SyncAndCheck();
  ASSERT_EQ(b.Titles(), (Names{"newest from a", "new on b", "from a", "old on b"}));
  EXPECT_EQ(b.desk.titles.ItemIndex(), 3);
  EXPECT_EQ(b.desk.titles.State(3), 1);
  EXPECT_EQ(a.Titles(), b.Titles());
}

// Shown at once, saved by the check that comes soon after (or by the
// close), and only then counted as merged: a crash before merges it again.
TEST_F(SharedHistoryTest, AMergeIsSavedSoonAfterItIsShownAndCountedOnlyThen) {
  const std::string store = FakeDesktop::Path("Cb1.qlx");
  const std::string merged = FakeDesktop::Path("Shared.qlx");
  a.Copy("saved soon", 1'800'000'010'000);
  Sync(a, b);
  const std::string countedBefore = b.desk.files.files[merged];
  b.Check();
  ASSERT_EQ(b.Titles(), (Names{"saved soon"}));
  EXPECT_EQ(b.desk.files.files[store].find("saved soon"), std::string::npos);
  EXPECT_EQ(b.desk.files.files[merged], countedBefore);
  EXPECT_EQ(b.desk.timers.intervals[kShareCheckTimer], kShareSaveDelay);
  b.Check();
  EXPECT_NE(b.desk.files.files[store].find("saved soon"), std::string::npos);
  EXPECT_NE(b.desk.files.files[merged], countedBefore);
  EXPECT_EQ(b.desk.timers.intervals[kShareCheckTimer], kShareCheckInterval);

  a.Copy("saved at the close", 1'800'000'020'000);
  Sync(a, b);
  b.Check();
  const std::string countedAtClose = b.desk.files.files[merged];
  ASSERT_TRUE(b.program->OnClose());
  EXPECT_NE(b.desk.files.files[store].find("saved at the close"), std::string::npos);
  EXPECT_NE(b.desk.files.files[merged], countedAtClose);
}

// A store too full for a whole merge takes the newest clips that fit with
// their exact texts, and no clip without the exact text it came with.
TEST_F(SharedHistoryTest, AStoreTooFullForAMergeTakesTheNewestClipsWhole) {
  // Its first letter beyond ASCII comes after eight that are.
  const std::string city =
      "the city of \xC5\x82\xC3\xB3"
      "dz and more";
  const std::string four = "\xD1\x87\xD0\xB5\xD1\x82\xD1\x8B\xD1\x80\xD0\xB5";
  a.Copy("one", 1'800'000'010'000);
  a.CopyUnicode(city, 1'800'000'020'000);
  a.Copy("three", 1'800'000'030'000);
  a.CopyUnicode(four, 1'800'000'040'000);
  // Room for the newest exact text only (its record is 46 bytes more than
  // its 12), not for the next one's beside it.
  b.program->exactTexts().set_capacity(58 + 20);
  SyncAndCheck();
  ASSERT_EQ(b.desk.titles.Count(), 2);
  EXPECT_EQ(b.program->share().TextOfLine(0), four);
  EXPECT_EQ(b.program->share().TextOfLine(1), "three");
  EXPECT_FALSE(b.desk.titles.ExactLine(0).empty());
  EXPECT_EQ(b.program->exactTexts().Count(), 3);
  EXPECT_TRUE(b.desk.dialogs.errors.empty()) << b.desk.dialogs.errors.front();
}

// A merge moves the lines under an open search: the matches stay on the
// clips that match, and Enter pastes the highlighted one, not whatever
// clip its line holds now.
TEST_F(SharedHistoryTest, AMergeDuringASearchLeavesTheMatchesOnTheirClips) {
  b.Copy("note one", 1'800'000'010'000);
  b.Copy("plain", 1'800'000'020'000);
  SyncAndCheck();
  b.program->HandleEvent([&] {
    b.program->OnHotkey();
    b.program->OnKeyDown(kVkF3, 0);
    b.program->OnSearchTextChange("note");
  });
  a.Copy("other", 1'800'000'030'000);
  Sync(a, b);
  b.Check();
  ASSERT_EQ(b.Titles().front(), "other");
  Names shown;
  for (const int line : b.desk.matchList.lines) shown.push_back(TitleOf(b.desk.titles.Get(line)));
  EXPECT_EQ(shown, (Names{"note one"}));
  b.Press(kVkReturn);
  EXPECT_EQ(b.desk.clipboard.text(), "note one");
}

TEST_F(SharedHistoryTest, APasteMovesTheClipUpOnTheOtherMachineToo) {
  a.Copy("old", 1'800'000'010'000);
  a.Copy("new", 1'800'000'020'000);
  SyncAndCheck();
  a.desk.clock.utcMs = 1'800'000'030'000;
  a.program->OnHotkey();
  a.Press('2');  // pastes "old", which moves up
  SyncAndCheck();
  EXPECT_EQ(b.Titles(), (Names{"old", "new"}));
}

TEST_F(SharedHistoryTest, AFolderThatFailsIsSaidOnceAndCatchesUpWithoutLosingACopy) {
  a.desk.files.missingFolders.insert(kShare);
  a.Copy("while away", 1'800'000'010'000);
  a.Check();
  a.Check();
  ASSERT_EQ(a.desk.dialogs.errors.size(), 1u);
  EXPECT_NE(a.desk.dialogs.errors[0].find("cannot be reached"), std::string::npos);
  EXPECT_EQ(a.program->trayIcon().Hint(), "Solvane Clips: history not shared");
  EXPECT_EQ(a.Titles(), (Names{"while away"}));  // recorded here as before
  a.desk.files.missingFolders.clear();
  SyncAndCheck();
  EXPECT_EQ(b.Titles(), (Names{"while away"}));
  EXPECT_EQ(a.program->trayIcon().Hint(), "");
  // A folder that takes no writes (read-only, full) is said likewise.
  a.desk.files.readOnly = true;
  a.Copy("read-only", 1'800'000'020'000);
  ASSERT_EQ(a.desk.dialogs.errors.size(), 2u);
  EXPECT_NE(a.desk.dialogs.errors[1].find("cannot write"), std::string::npos);
  a.desk.files.readOnly = false;
  SyncAndCheck();
  EXPECT_EQ(b.Titles(), (Names{"read-only", "while away"}));
}

TEST_F(SharedHistoryTest, AWrongPassphraseIsRefusedAndMergesNothing) {
  Machine c{3};
  c.Start();
  c.desk.files.files = {{std::string(kPrefix) + "readme.txt", ""}};
  a.Copy("private", 1'800'000'010'000);
  Sync(a, c);
  c.Share("wrong");
  ASSERT_EQ(c.desk.dialogs.errors.size(), 1u);
  EXPECT_NE(c.desk.dialogs.errors[0].find("does not open"), std::string::npos);
  c.Check();
  EXPECT_TRUE(c.Titles().empty());
  EXPECT_FALSE(c.desk.files.Exists(FakeDesktop::Path("Shared.key.qlx")));
  c.Share();
  EXPECT_EQ(c.Titles(), (Names{"private"}));
  // Only the derived key is kept here, never the passphrase.
  EXPECT_EQ(c.desk.files.files[FakeDesktop::Path("Shared.key.qlx")].find(kPassphrase), std::string::npos);
  EXPECT_EQ(c.desk.crypto.lastIterations, kShareKeyIterations);
}

TEST_F(SharedHistoryTest, EntriesThatDoNotAuthenticateAreSkippedAndCountedAndASecretNeverLeaves) {
  a.desk.clipboard.CopySecret("password123");
  a.Copy("plain", 1'800'000'010'000);
  Sync(a, b);
  // Someone with the folder adds an entry of their own to a's file: its
  // frame is whole, but it is not sealed under the shared key.
  ShareEvent forged;
  forged.text = "forged";
  forged.time = 1'800'000'020'000;
  const std::string& id = a.program->share().machineId();
  b.desk.files.files[kPrefix + id + ".log"] +=
      SealShareEvent(b.desk.crypto, std::string(kShareKeyBytes, 'x'), id, 1, forged).value();
  b.Check();
  b.Check();
  EXPECT_EQ(b.Titles(), (Names{"plain"}));
  EXPECT_EQ(b.program->share().rejected(), 1);
  ASSERT_EQ(b.desk.dialogs.errors.size(), 1u);
  EXPECT_NE(b.desk.dialogs.errors[0].find("did not authenticate"), std::string::npos);
  EXPECT_EQ(a.FolderBytes().find("password123"), std::string::npos);
  EXPECT_EQ(a.program->share().ledger().EventCount(), 1u);
}

}  // namespace
}  // namespace solvane::testing
