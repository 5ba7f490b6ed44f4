#include "history/history_fixture.h"

#include "base/app_error.h"

namespace solvane {
namespace {

using namespace history_testing;

TEST_F(HistoryTest, StartLoadsBothFilesThenCapturesOnTop) {
  File(kLb1) = "stored" + kTitlePadding + "1111111111111\r\n";
  File(kCb1) = "/:hdr:\\1111111111111\r\nstored text\r\n/:tlr:\\1111111111111\r\n";
  Copy("on the clipboard");
  Start();
  ASSERT_EQ(desk.titles.Count(), 2);
  EXPECT_EQ(Title(0), "on the clipboard");
  EXPECT_EQ(TextOf(1), "stored text");
  EXPECT_EQ(TextOf(0), "on the clipboard");
  EXPECT_TRUE(desk.dialogs.errors.empty());
}

const std::string kRecords =
    "/:hdr:\\2222222222222\r\n  \r\n newer\r\nsecond line\r\n/:tlr:\\2222222222222\r\n"
    "/:hdr:\\1111111111111\r\nolder\r\n/:tlr:\\1111111111111\r\n";

// Whether the title file is missing (true) or empty (false).
class TitleFileRebuildTest : public HistoryTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TitleFileRebuildTest, MissingOrEmptyTitleFileIsRebuiltFromTheRecordsAndTheStartGoesOn) {
  const bool missing = GetParam();
  if (missing) RemoveFile(kLb1);
  File(kCb1) = kRecords;
  Copy("captured at start");
  Start();
  EXPECT_EQ(desk.dialogs.errors,
            missing ? std::vector<std::string>{"Cannot open file C:\\Clips\\Lb1.qlx"} : std::vector<std::string>{});
  // Each record gets the title capture would have given it, newest first.
  ASSERT_EQ(desk.titles.Count(), 3);
  EXPECT_EQ(Title(0), "captured at start");
  EXPECT_EQ(desk.titles.Get(1), " newer..." + kTitlePadding + "2222222222222");
  EXPECT_EQ(desk.titles.Get(2), "older" + kTitlePadding + "1111111111111");
  EXPECT_EQ(TextOf(1), "  \r\n newer\r\nsecond line");
  program->history().SaveHistory();
  EXPECT_FALSE(HasFile("Lb1 (not loaded).qlx"));  // nothing was there to keep
  EXPECT_EQ(desk.dialogs.errors.size(), missing ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(MissingOrEmpty, TitleFileRebuildTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Missing" : "Empty"; });

// A file that is there but cannot be read (another program holds it) may
// hold every clip: no save may write over it.
// Which file another program held at the start: "Lb1.qlx" or "Cb1.qlx".
class HeldFileTest : public HistoryTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(HeldFileTest, ClipFileThatDidNotLoadIsKeptAsideOnceNotOverwritten) {
  const std::string lb1 = "stored" + kTitlePadding + "1111111111111\r\n";
  const std::string held = GetParam();
  const bool titlesHeld = held == kLb1;
  const std::string keptAs = titlesHeld ? "Lb1 (not loaded).qlx" : "Cb1 (not loaded).qlx";
  File(kLb1) = lb1;
  File(kCb1) = kRecords;
  Hold(held);
  Start();
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot open file C:\\Clips\\" + held});
  // The other file loaded all the same.
  EXPECT_EQ(program->store().Count(), titlesHeld ? 8 : 0);
  EXPECT_EQ(desk.titles.Count(), titlesHeld ? 2 : 1);

  LetGo();
  Copy("new");
  program->history().SaveHistory();
  EXPECT_EQ(File(keptAs), titlesHeld ? lb1 : kRecords);
  ASSERT_EQ(desk.dialogs.errors.size(), 2u);
  EXPECT_EQ(desk.dialogs.errors[1], "The clips in C:\\Clips\\" + held +
                                        " could not all be loaded when Solvane Clips started. So that saving does not "
                                        "overwrite them, that file has been kept as C:\\Clips\\" +
                                        keptAs + ".");
  EXPECT_NE(File(held).find("new"), std::string::npos);
  program->history().SaveHistory();
  EXPECT_EQ(desk.dialogs.errors.size(), 2u);  // said once
  EXPECT_EQ(File(keptAs), titlesHeld ? lb1 : kRecords);
}

INSTANTIATE_TEST_SUITE_P(EitherFile, HeldFileTest, ::testing::Values(kLb1, kCb1),
                         [](const auto& info) { return info.param.substr(0, 3) + "Held"; });

// The program may load the store file ahead, on a thread of its own: the
// start takes that store instead of reading the file, and a failure there
// is told and kept aside as the file's own.
TEST_F(HistoryTest, StoreLoadedAheadIsTakenInsteadOfTheFile) {
  File(kLb1) = "stored" + kTitlePadding + "1111111111111\r\n";
  RemoveFile(kCb1);  // would be "Cannot open file"
  desk.storeLoadedAhead = [](const std::string& path, ClipTextStore& store) {
    EXPECT_EQ(path, FakeDesktop::Path(kCb1));
    ClipTextStore ahead;
    ahead.AssignFileBytes(kRecords);
    store.TakeFrom(ahead);
    return true;
  };
  Start();
  EXPECT_TRUE(desk.dialogs.errors.empty());
  EXPECT_EQ(TextOf(0), "older");
}

TEST_F(HistoryTest, StoreLoadedAheadThatFailedIsKeptAsideLikeTheFile) {
  File(kCb1) = kRecords;
  desk.storeLoadedAhead = [](const std::string& path, ClipTextStore&) -> bool {
    throw AppError(CannotOpenFileMessage(path));
  };
  Copy("new");
  Start();
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot open file C:\\Clips\\Cb1.qlx"});
  program->history().SaveHistory();
  EXPECT_EQ(File("Cb1 (not loaded).qlx"), kRecords);
  EXPECT_NE(File(kCb1).find("new"), std::string::npos);
}

// Reading stops at a NUL byte; the titles after it must not be lost to the
// next save.
TEST_F(HistoryTest, TitleFileCutShortByANulIsKeptAsideBeforeItIsSaved) {
  const std::string lb1 = "shown" + kTitlePadding + "1111111111111\r\nbe" + std::string(1, '\0') + "ta\r\nlater\r\n";
  File(kLb1) = lb1;
  Start();
  EXPECT_EQ(desk.titles.Count(), 2);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  program->history().SaveHistory();
  EXPECT_EQ(File("Lb1 (not loaded).qlx"), lb1);
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(File(kLb1), "shown" + kTitlePadding + "1111111111111\r\nbe\r\n");
}

TEST_F(HistoryTest, KeptFileNeverReplacesAnEarlierOne) {
  File(kLb1) = "third";
  File("Lb1 (not loaded).qlx") = "first";
  File("Lb1 (not loaded 2).qlx") = "second";
  Hold(kLb1);
  Start();
  LetGo();
  program->history().SaveHistory();
  EXPECT_EQ(File("Lb1 (not loaded).qlx"), "first");
  EXPECT_EQ(File("Lb1 (not loaded 2).qlx"), "second");
  EXPECT_EQ(File("Lb1 (not loaded 3).qlx"), "third");
}

// Still locked at the save: the file cannot be moved, so nothing is written
// in its place, and the next save tries again.
TEST_F(HistoryTest, LockedClipFileStopsTheSaveUntilItCanBeKept) {
  File(kCb1) = kRecords;
  Hold(kCb1);
  Start();
  desk.files.FailAt(Step::Replace, 2);  // the title file's swap goes through, moving Cb1.qlx does not
  program->HandleEvent([this] { program->history().SaveHistory(); });
  EXPECT_EQ(desk.dialogs.errors.back(), "Cannot create file C:\\Clips\\Cb1.qlx");
  EXPECT_EQ(File(kCb1), kRecords);
  LetGo();
  program->history().SaveHistory();
  EXPECT_EQ(File("Cb1 (not loaded).qlx"), kRecords);
  EXPECT_EQ(File(kCb1), "");
}

TEST_F(HistoryTest, StaleSavesFromACrashAreRemovedAtStart) {
  File(kLb1 + ".saving") = "half";
  File(kCb1 + ".saving") = "half";
  Start();
  EXPECT_FALSE(HasFile(kLb1 + ".saving"));
  EXPECT_FALSE(HasFile(kCb1 + ".saving"));
}

TEST_F(HistoryTest, SavedFilesHaveTheExactLayoutAndLoadBack) {
  desk.clock.tick = 123456;
  Start();
  Copy("one");
  Copy("two\r\nlines");
  program->OnSaveClipsCommand();
  const std::string key1 = "0003874106301";
  const std::string lb1 = File(kLb1);
  const auto lines = SplitStoreFile(lb1);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 6), "two...");
  EXPECT_EQ(lines[1], "one" + std::string(70, ' ') + "/:hdr:\\" + key1);
  const std::string key2 = lines[0].substr(lines[0].size() - 13);
  EXPECT_EQ(File(kCb1), "/:hdr:\\" + key2 + "\r\ntwo\r\nlines\r\n/:tlr:\\" + key2 + "\r\n/:hdr:\\" + key1 +
                            "\r\none\r\n/:tlr:\\" + key1 + "\r\n");

  const std::string cb1 = File(kCb1);
  desk.clipboard.CopyOtherFormat();  // nothing to capture at the restart
  program.reset();
  Start();
  program->history().SaveHistory();
  EXPECT_EQ(File(kLb1), lb1);
  EXPECT_EQ(File(kCb1), cb1);
}

TEST_F(HistoryTest, FailedTitleSaveDoesNotWriteTheStore) {
  File(kCb1) = "";
  Start();
  Copy("x");
  desk.files.FailAt(Step::Create);
  program->HandleEvent([this] { program->history().SaveHistory(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\Lb1.qlx"});
  EXPECT_EQ(File(kLb1), "");
  EXPECT_EQ(File(kCb1), "");
}

TEST_F(HistoryTest, AutosaveWritesOnlyAfterAChange) {
  Start();
  EXPECT_EQ(desk.timers.intervals[kAutosaveTimer], 3000);
  const int before = desk.files.creates;
  program->OnAutosaveTimer();
  EXPECT_EQ(desk.files.creates, before);  // idle: nothing written

  desk.clock.seconds += 5;
  Copy("new");
  program->OnAutosaveTimer();
  EXPECT_EQ(desk.files.creates, before + 2);
  EXPECT_EQ(program->state().LastSaveTime, program->state().LastChangeTime);
  EXPECT_NE(File(kLb1), "");
  program->OnAutosaveTimer();
  EXPECT_EQ(desk.files.creates, before + 2);
}

// The times are cut to whole seconds; a capture in the same second as the
// start (or the last autosave) is still written by the next tick.
TEST_F(HistoryTest, AutosaveMissesNoCaptureWithinTheSameSecond) {
  Copy("at start");
  Start();
  program->OnAutosaveTimer();
  EXPECT_NE(File(kCb1).find("at start"), std::string::npos);
  Copy("same second");
  program->OnAutosaveTimer();
  EXPECT_NE(File(kCb1).find("same second"), std::string::npos);
}

TEST_F(HistoryTest, FailedAutosaveIsTriedAgainAtTheNextTick) {
  Start();
  desk.clock.seconds += 5;
  Copy("new");
  const auto saveTime = program->state().LastSaveTime;
  desk.files.readOnly = true;
  program->HandleEvent([&] { program->OnAutosaveTimer(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(program->state().LastSaveTime, saveTime);
  desk.files.readOnly = false;
  program->HandleEvent([&] { program->OnAutosaveTimer(); });
  EXPECT_EQ(program->state().LastSaveTime, program->state().LastChangeTime);
  EXPECT_NE(File(kLb1), "");
}

TEST_F(HistoryTest, TicksDuringAFailedAutosavesBoxDoNotStackBoxes) {
  Start();
  desk.clock.seconds += 5;
  Copy("new");
  desk.files.readOnly = true;
  desk.dialogs.whileOpen = [&] { program->HandleEvent([&] { program->OnAutosaveTimer(); }); };
  program->HandleEvent([&] { program->OnAutosaveTimer(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
}

// A program unpacked where the user may only read (Program Files) says so
// once at start; later autosaves fail without a box each, and the close
// still asks before clips are lost.
TEST_F(HistoryTest, UnwritableFolderIsToldOnceAtStartAndAutosavesStayQuiet) {
  desk.files.readOnly = true;
  Start();
  EXPECT_EQ(desk.dialogs.errors,
            std::vector<std::string>{"Solvane Clips cannot write to its folder C:\\Clips, so the clips you copy "
                                     "cannot be saved there. Move Solvane Clips to a folder you can write to, such "
                                     "as one in your user profile, and start it from there."});
  for (int tick = 0; tick < 3; ++tick) {
    desk.clock.seconds += 5;
    CopyLater("copied " + std::to_string(tick));
    program->HandleEvent([&] { program->OnAutosaveTimer(); });
  }
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  desk.dialogs.answer = false;
  desk.window.Close();
  EXPECT_FALSE(desk.window.closed);
  ASSERT_EQ(desk.dialogs.questions.size(), 1u);
}

}  // namespace
}  // namespace solvane
