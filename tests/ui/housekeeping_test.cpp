#include <gtest/gtest.h>

#include "base/text_buffer.h"
#include "ui/program_fixture.h"

namespace solvane {
namespace {

using Step = fake::FakeFileSystem::Step;
using testing::FakeDesktop;

// The files beside the program, by name.
const std::string kLb1 = "Lb1.qlx", kCb1 = "Cb1.qlx", kPrefs = "prefs.qlx", kSettings = "Solvaneclips.ini";

// Loading, saving, autosave, clearing, quitting and the session's end: what
// reaches the files beside the program and what the user is asked or told.
class HousekeepingTest : public testing::ProgramTest {
 protected:
  // Another program holds the file: it is there but cannot be read.
  void Hold(const std::string& name) { desk.files.unreadable.insert(FakeDesktop::Path(name)); }
  void LetGo() { desk.files.unreadable.clear(); }
};

TEST_F(HousekeepingTest, StartLoadsBothFilesThenCapturesOnTop) {
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

const std::string kRecords = "/:hdr:\\2222222222222\r\n  \r\n newer\r\nsecond line\r\n/:tlr:\\2222222222222\r\n"
                             "/:hdr:\\1111111111111\r\nolder\r\n/:tlr:\\1111111111111\r\n";

// Whether the title file is missing (true) or empty (false).
class TitleFileRebuildTest : public HousekeepingTest, public ::testing::WithParamInterface<bool> {};

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
  form->SaveHistory();
  EXPECT_FALSE(HasFile("Lb1 (not loaded).qlx"));  // nothing was there to keep
  EXPECT_EQ(desk.dialogs.errors.size(), missing ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(MissingOrEmpty, TitleFileRebuildTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Missing" : "Empty"; });

// A file that is there but cannot be read (another program holds it) may
// hold every clip: no save may write over it.
// Which file another program held at the start: "Lb1.qlx" or "Cb1.qlx".
class HeldFileTest : public HousekeepingTest, public ::testing::WithParamInterface<std::string> {};

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
  EXPECT_EQ(form->store().Count(), titlesHeld ? 8 : 0);
  EXPECT_EQ(desk.titles.Count(), titlesHeld ? 2 : 1);

  LetGo();
  Copy("new");
  form->SaveHistory();
  EXPECT_EQ(File(keptAs), titlesHeld ? lb1 : kRecords);
  ASSERT_EQ(desk.dialogs.errors.size(), 2u);
  EXPECT_EQ(desk.dialogs.errors[1], "The clips in C:\\Clips\\" + held +
                                        " could not all be loaded when Solvane Clips started. So that saving does not "
                                        "overwrite them, that file has been kept as C:\\Clips\\" + keptAs + ".");
  EXPECT_NE(File(held).find("new"), std::string::npos);
  form->SaveHistory();
  EXPECT_EQ(desk.dialogs.errors.size(), 2u);  // said once
  EXPECT_EQ(File(keptAs), titlesHeld ? lb1 : kRecords);
}

INSTANTIATE_TEST_SUITE_P(EitherFile, HeldFileTest, ::testing::Values(kLb1, kCb1),
                         [](const auto& info) { return info.param.substr(0, 3) + "Held"; });

// Reading stops at a NUL byte; the titles after it must not be lost to the
// next save.
TEST_F(HousekeepingTest, TitleFileCutShortByANulIsKeptAsideBeforeItIsSaved) {
  const std::string lb1 = "shown" + kTitlePadding + "1111111111111\r\nbe" + std::string(1, '\0') + "ta\r\nlater\r\n";
  File(kLb1) = lb1;
  Start();
  EXPECT_EQ(desk.titles.Count(), 2);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  form->SaveHistory();
  EXPECT_EQ(File("Lb1 (not loaded).qlx"), lb1);
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(File(kLb1), "shown" + kTitlePadding + "1111111111111\r\nbe\r\n");
}

TEST_F(HousekeepingTest, KeptFileNeverReplacesAnEarlierOne) {
  File(kLb1) = "third";
  File("Lb1 (not loaded).qlx") = "first";
  File("Lb1 (not loaded 2).qlx") = "second";
  Hold(kLb1);
  Start();
  LetGo();
  form->SaveHistory();
  EXPECT_EQ(File("Lb1 (not loaded).qlx"), "first");
  EXPECT_EQ(File("Lb1 (not loaded 2).qlx"), "second");
  EXPECT_EQ(File("Lb1 (not loaded 3).qlx"), "third");
}

// Still locked at the save: the file cannot be moved, so nothing is written
// in its place, and the next save tries again.
TEST_F(HousekeepingTest, LockedClipFileStopsTheSaveUntilItCanBeKept) {
  File(kCb1) = kRecords;
  Hold(kCb1);
  Start();
  desk.files.FailAt(Step::Replace, 2);  // the title file's swap goes through, moving Cb1.qlx does not
  form->HandleEvent([this] { form->SaveHistory(); });
  EXPECT_EQ(desk.dialogs.errors.back(), "Cannot create file C:\\Clips\\Cb1.qlx");
  EXPECT_EQ(File(kCb1), kRecords);
  LetGo();
  form->SaveHistory();
  EXPECT_EQ(File("Cb1 (not loaded).qlx"), kRecords);
  EXPECT_EQ(File(kCb1), "");
}

TEST_F(HousekeepingTest, StaleSavesFromACrashAreRemovedAtStart) {
  File(kLb1 + ".saving") = "half";
  File(kCb1 + ".saving") = "half";
  Start();
  EXPECT_FALSE(HasFile(kLb1 + ".saving"));
  EXPECT_FALSE(HasFile(kCb1 + ".saving"));
}

TEST_F(HousekeepingTest, SavedFilesHaveTheExactLayoutAndLoadBack) {
  desk.clock.tick = 123456;
  Start();
  Copy("one");
  Copy("two\r\nlines");
  form->OnSaveClipsCommand();
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
  form.reset();
  Start();
  form->SaveHistory();
  EXPECT_EQ(File(kLb1), lb1);
  EXPECT_EQ(File(kCb1), cb1);
}

TEST_F(HousekeepingTest, FailedTitleSaveDoesNotWriteTheStore) {
  File(kCb1) = "";
  Start();
  Copy("x");
  desk.files.FailAt(Step::Create);
  form->HandleEvent([this] { form->SaveHistory(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\Lb1.qlx"});
  EXPECT_EQ(File(kLb1), "");
  EXPECT_EQ(File(kCb1), "");
}

TEST_F(HousekeepingTest, AutosaveWritesOnlyAfterAChange) {
  ClipWindow& f = Start();
  EXPECT_EQ(desk.timers.intervals[kAutosaveTimer], 3000);
  const int before = desk.files.creates;
  f.OnAutosaveTimer();
  EXPECT_EQ(desk.files.creates, before);  // idle: nothing written

  desk.clock.seconds += 5;
  Copy("new");
  f.OnAutosaveTimer();
  EXPECT_EQ(desk.files.creates, before + 2);
  EXPECT_EQ(f.state().LastSaveTime, f.state().LastChangeTime);
  EXPECT_NE(File(kLb1), "");
  f.OnAutosaveTimer();
  EXPECT_EQ(desk.files.creates, before + 2);
}

// The times are cut to whole seconds; a capture in the same second as the
// start (or the last autosave) is still written by the next tick.
TEST_F(HousekeepingTest, AutosaveMissesNoCaptureWithinTheSameSecond) {
  Copy("at start");
  ClipWindow& f = Start();
  f.OnAutosaveTimer();
  EXPECT_NE(File(kCb1).find("at start"), std::string::npos);
  Copy("same second");
  f.OnAutosaveTimer();
  EXPECT_NE(File(kCb1).find("same second"), std::string::npos);
}

TEST_F(HousekeepingTest, FailedAutosaveIsTriedAgainAtTheNextTick) {
  ClipWindow& f = Start();
  desk.clock.seconds += 5;
  Copy("new");
  const auto saveTime = f.state().LastSaveTime;
  desk.files.readOnly = true;
  f.HandleEvent([&] { f.OnAutosaveTimer(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(f.state().LastSaveTime, saveTime);
  desk.files.readOnly = false;
  f.HandleEvent([&] { f.OnAutosaveTimer(); });
  EXPECT_EQ(f.state().LastSaveTime, f.state().LastChangeTime);
  EXPECT_NE(File(kLb1), "");
}

TEST_F(HousekeepingTest, TicksDuringAFailedAutosavesBoxDoNotStackBoxes) {
  ClipWindow& f = Start();
  desk.clock.seconds += 5;
  Copy("new");
  desk.files.readOnly = true;
  desk.dialogs.whileOpen = [&] { f.HandleEvent([&] { f.OnAutosaveTimer(); }); };
  f.HandleEvent([&] { f.OnAutosaveTimer(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
}

TEST_F(HousekeepingTest, ClearEmptiesEverythingAndScrubsBothFiles) {
  ClipWindow& f = Start();
  Copy("secret");
  f.SaveHistory();
  desk.window.visible = true;
  f.ClearClips();
  EXPECT_FALSE(desk.window.visible);
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(f.store().Count(), 0);
  EXPECT_EQ(f.LastCapture(), "");
  EXPECT_EQ(f.WorkBuffer(), "");
  EXPECT_EQ(File(kLb1), "");
  EXPECT_EQ(File(kCb1), "");
  EXPECT_TRUE(desk.dialogs.questions.empty());
  // The same text again is a new clip: the last capture was emptied.
  Copy("secret");
  EXPECT_EQ(desk.titles.Count(), 1);
}

// The unfinished copy a crashed save left holds clips too; clearing goes
// over its bytes before it is deleted, as over the files'.
TEST_F(HousekeepingTest, ClearScrubsLeftoverSaveCopiesBeforeRemovingThem) {
  ClipWindow& f = Start();
  File(kCb1 + ".saving") = "half a secret";
  f.ClearClips();
  EXPECT_FALSE(HasFile(kCb1 + ".saving"));
  EXPECT_EQ(desk.files.inPlaceOpens, 3);  // Lb1.qlx, Cb1.qlx and the copy
  EXPECT_GE(desk.files.bytesWritten, 70u * 3 * std::string("half a secret").size());
}

TEST_F(HousekeepingTest, ClearAnsweredNoChangesNothingButHides) {
  ClipWindow& f = Start();
  Copy("keep");
  f.SaveHistory();
  const std::string lb1 = File(kLb1);
  desk.settingsDialog.promptClear = true;
  desk.dialogs.answer = false;
  desk.window.visible = true;
  f.ClearClips();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Clear all current clips?"});
  EXPECT_EQ(desk.pointer.x, 1281 / 2 - 20);
  EXPECT_EQ(desk.pointer.y, 801 / 2 + 33);
  EXPECT_FALSE(desk.window.visible);
  EXPECT_EQ(desk.titles.Count(), 1);
  EXPECT_EQ(f.LastCapture(), "keep");
  EXPECT_EQ(File(kLb1), lb1);
}

TEST_F(HousekeepingTest, ClipCapturedWhileTheClearQuestionWaitsIsClearedToo) {
  ClipWindow& f = Start();
  desk.settingsDialog.promptClear = true;
  desk.dialogs.whileOpen = [&] { Copy("arrived meanwhile"); };
  f.ClearClips();
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(f.store().Count(), 0);
}

TEST_F(HousekeepingTest, QuitWithoutPromptClosesAndSavesEverything) {
  ClipWindow& f = Start();
  Copy("saved at close");
  f.state().WindowShown = true;
  f.Quit();
  EXPECT_TRUE(desk.window.closed);
  EXPECT_FALSE(f.state().WindowShown);
  EXPECT_NE(File(kLb1).find("saved at close"), std::string::npos);
  EXPECT_NE(File(kCb1).find("saved at close"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
}

TEST_F(HousekeepingTest, QuitAnsweredNoStaysButHides) {
  ClipWindow& f = Start();
  desk.settingsDialog.promptQuit = true;
  desk.dialogs.answer = false;
  desk.window.visible = true;
  f.state().WindowShown = true;
  f.Quit();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Quit Solvane Clips?"});
  EXPECT_EQ(desk.pointer.x, 1281 / 2 - 25);
  EXPECT_EQ(desk.pointer.y, 801 / 2 + 35);
  EXPECT_EQ(desk.window.closeRequests, 0);
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(f.state().WindowShown);

  desk.dialogs.answer = true;
  f.Quit();
  EXPECT_TRUE(desk.window.closed);
}

TEST_F(HousekeepingTest, SecondPromptWhileOneIsUpIsDeclined) {
  ClipWindow& f = Start();
  Copy("kept");
  desk.settingsDialog.promptClear = true;
  desk.settingsDialog.promptQuit = true;
  desk.dialogs.answer = true;
  int nested = 0;
  // From the tray menu while the first box is up: Quit, then Clear Clips.
  desk.dialogs.whileOpen = [&] {
    if (nested++ > 0) return;
    f.Quit();
    f.ClearClips();
  };
  f.Quit();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Quit Solvane Clips?"});
  EXPECT_EQ(desk.window.closeRequests, 1);  // the outer Yes, once
  EXPECT_EQ(desk.titles.Count(), 1);        // the inner Clear Clips did nothing

  desk.dialogs.whileOpen = nullptr;
  f.ClearClips();  // asked again once the first box is gone
  EXPECT_EQ(desk.dialogs.questions.back(), "Clear all current clips?");
  EXPECT_EQ(desk.titles.Count(), 0);
}

// The answer to "Quit anyway?": Yes (true) or No (false).
class QuitAnywayTest : public HousekeepingTest, public ::testing::WithParamInterface<bool> {};

// A close that cannot save everything says what, and asks; the rest is
// saved all the same.
TEST_P(QuitAnywayTest, CloseThatCannotSaveAsksWhetherToQuitAnyway) {
  const bool quit = GetParam();
  Start();
  desk.settingsDialog.RestoreState(FakeDesktop::Path(kSettings));
  desk.settingsDialog.pasteDelayText = "250";
  Copy("unsaved");
  desk.files.FailAt(Step::Replace, 3);  // the clip files go through, "prefs.qlx" does not
  desk.dialogs.answer = quit;
  form->Quit();
  ASSERT_EQ(desk.dialogs.questions.size(), 1u);
  EXPECT_EQ(desk.dialogs.questions[0],
            "Solvane Clips could not save everything:\r\n\r\nCannot create file C:\\Clips\\prefs.qlx\r\n\r\n"
            "Quit anyway? What was not saved will be lost.");
  EXPECT_EQ(desk.window.closed, quit);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  EXPECT_NE(File(kCb1).find("unsaved"), std::string::npos);
  EXPECT_NE(File(kSettings).find("ComboBox2.Text=250"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(YesOrNo, QuitAnywayTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Yes" : "No"; });

TEST_F(HousekeepingTest, SessionEndSavesClipsAndSettingsAndNeverShowsABox) {
  ClipWindow& f = Start();
  desk.settingsDialog.RestoreState(FakeDesktop::Path(kSettings));
  File(kPrefs) = "1111111111\r\n";  // as another run would have left it
  Copy("at logoff");
  EXPECT_EQ(f.OnQueryEndSession(), 1);
  EXPECT_NE(File(kCb1).find("at logoff"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");
  // A copy between the query and the end, and a hotkey changed in the
  // dialog earlier: both reach the disk before the process is ended.
  Copy("after the query");
  desk.settingsDialog.hotkeyText = "Ctrl+F9";
  f.OnEndSession(true);
  EXPECT_NE(File(kCb1).find("after the query"), std::string::npos);
  EXPECT_NE(File(kSettings).find("ComboBox1.Text=Ctrl+F9"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");

  Copy("cannot be saved");
  desk.files.readOnly = true;
  EXPECT_EQ(f.OnQueryEndSession(), 1);
  f.OnEndSession(true);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  EXPECT_TRUE(desk.dialogs.questions.empty());
}

// Any box may be up when the close comes (here the start's own), and the
// clips copied while it waited are saved as at any close.
TEST_F(HousekeepingTest, CloseWhileAStartBoxIsUpSavesTheHistory) {
  RemoveFile(kLb1);
  RemoveFile(kCb1);
  int boxes = 0;
  desk.dialogs.whileOpen = [&] {
    if (boxes++ > 0) return;
    Copy("copied meanwhile");
    desk.window.Close();
  };
  Start();
  EXPECT_TRUE(desk.window.closed);
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);  // the second start box is not shown to a closed program
  EXPECT_NE(File(kLb1).find("copied meanwhile"), std::string::npos);
  EXPECT_NE(File(kCb1).find("copied meanwhile"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
}

// A preference file as found, what the program writes back, and the flag it
// holds.
struct PreferenceLine {
  std::string file, written;
  bool flag;
};

class PreferenceLineTest : public HousekeepingTest, public ::testing::WithParamInterface<PreferenceLine> {};

TEST_P(PreferenceLineTest, PreferenceLineTravelsUnchangedButForItsFlag) {
  File(kPrefs) = GetParam().file;
  Start();
  form->LoadPrefs();
  EXPECT_EQ(form->TitleLineFlag(), GetParam().flag);
  form->SavePrefs();
  EXPECT_EQ(File(kPrefs), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(AsFound, PreferenceLineTest,
                         ::testing::Values(PreferenceLine{"1abcdefghi\r\n", "1abcdefghi\r\n", true},
                                           PreferenceLine{"0000000001\r\nignored\r\n", "0000000001\r\n", false},
                                           PreferenceLine{"x123456789", "0123456789\r\n", false},
                                           PreferenceLine{"\r\n", "0000000000\r\n", false},
                                           PreferenceLine{"", "0000000000\r\n", false}));

class PreferenceSaveStepTest : public HousekeepingTest, public ::testing::WithParamInterface<Step> {};

TEST_P(PreferenceSaveStepTest, PreferenceSaveCutShortAtThisStepLeavesTheOldFileWhole) {
  // A whole save would drop the second line.
  File(kPrefs) = "0abcdefghi\r\nsecond\r\n";
  Start();
  form->LoadPrefs();
  desk.files.FailAt(GetParam());
  form->HandleEvent([this] { form->SavePrefs(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\prefs.qlx"});
  EXPECT_EQ(File(kPrefs), "0abcdefghi\r\nsecond\r\n");
  EXPECT_FALSE(HasFile(kPrefs + ".saving"));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, PreferenceSaveStepTest,
                         ::testing::Values(Step::Create, Step::Write, Step::Flush, Step::Close, Step::Replace));

TEST_F(HousekeepingTest, PreferencesSavedWithoutALoadAreTheDefaults) {
  ClipWindow& f = Start();
  File(kPrefs) = "1999999999\r\n";
  f.SavePrefs();  // never loaded: the defaults
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
  RemoveFile(kPrefs);
  f.HandleEvent([&] { f.LoadPrefs(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot open file C:\\Clips\\prefs.qlx"});
}

}  // namespace
}  // namespace solvane
