#include <gtest/gtest.h>

#include "core/text_buffer.h"
#include "ui/form1_fixture.h"

namespace solvane {
namespace {

using Step = fake::FakeFileSystem::Step;
using testing::FakeDesktop;
using testing::TitleOf;

const std::string kLb1 = FakeDesktop::Path("Lb1.qlx");
const std::string kCb1 = FakeDesktop::Path("Cb1.qlx");
const std::string kPrefs = FakeDesktop::Path("prefs.qlx");

class HousekeepingTest : public ::testing::Test {
 protected:
  // As the program starts: the window passes a close on to the form before
  // the start-up can show a box.
  TForm1& Start() {
    form = std::make_unique<TForm1>(desk.Platform(), TForm1::kStartLater);
    desk.window.onClose = [this] { return form->FormClose(); };
    form->Start();
    form->ShowStartProblems();
    return *form;
  }
  std::string& File(const std::string& path) { return desk.files.files[path]; }

  FakeDesktop desk;
  std::unique_ptr<TForm1> form;
};

TEST_F(HousekeepingTest, StartLoadsBothFilesThenCapturesOnTop) {
  File(kLb1) = "stored" + kTitlePadding + "1111111111111\r\n";
  File(kCb1) = "/:hdr:\\1111111111111\r\nstored text\r\n/:tlr:\\1111111111111\r\n";
  desk.clipboard.CopyText("on the clipboard");
  Start();
  ASSERT_EQ(desk.titles.Count(), 2);
  EXPECT_EQ(TitleOf(desk.titles.Get(0)), "on the clipboard");
  EXPECT_EQ(form->store().Lookup(desk.titles.Get(1)), "stored text");
  EXPECT_EQ(form->store().Lookup(desk.titles.Get(0)), "on the clipboard");
  EXPECT_TRUE(desk.dialogs.errors.empty());
}

const std::string kRecords = "/:hdr:\\2222222222222\r\n  \r\n newer\r\nsecond line\r\n/:tlr:\\2222222222222\r\n"
                             "/:hdr:\\1111111111111\r\nolder\r\n/:tlr:\\1111111111111\r\n";

TEST_F(HousekeepingTest, MissingTitleFileIsRebuiltFromTheRecordsAndTheStartGoesOn) {
  for (const bool missing : {true, false}) {
    SCOPED_TRACE(missing ? "missing" : "empty");
    FakeDesktop fresh;
    if (missing) fresh.files.files.erase(kLb1);
    fresh.files.files[kCb1] = kRecords;
    fresh.clipboard.CopyText("captured at start");
    TForm1 f(fresh.Platform());
    EXPECT_EQ(fresh.dialogs.errors,
              missing ? std::vector<std::string>{"Cannot open file C:\\Clips\\Lb1.qlx"} : std::vector<std::string>{});
    // Each record gets the title capture would have given it, newest first.
    ASSERT_EQ(fresh.titles.Count(), 3);
    EXPECT_EQ(TitleOf(fresh.titles.Get(0)), "captured at start");
    EXPECT_EQ(fresh.titles.Get(1), " newer..." + kTitlePadding + "2222222222222");
    EXPECT_EQ(fresh.titles.Get(2), "older" + kTitlePadding + "1111111111111");
    EXPECT_EQ(f.store().Lookup(fresh.titles.Get(1)), "  \r\n newer\r\nsecond line");
    f.Housekeeping();
    EXPECT_EQ(fresh.files.files.count(FakeDesktop::Path("Lb1 (not loaded).qlx")), 0u);  // nothing was there to keep
    EXPECT_EQ(fresh.dialogs.errors.size(), missing ? 1u : 0u);
  }
}

// A file that is there but cannot be read (another program holds it) may
// hold every clip: no save may write over it.
TEST_F(HousekeepingTest, ClipFileThatDidNotLoadIsKeptAsideOnceNotOverwritten) {
  const std::string lb1 = "stored" + kTitlePadding + "1111111111111\r\n";
  for (const bool titlesLocked : {true, false}) {
    SCOPED_TRACE(titlesLocked ? "Lb1.qlx locked" : "Cb1.qlx locked");
    FakeDesktop fresh;
    const std::string locked = titlesLocked ? kLb1 : kCb1;
    const std::string keptAs = FakeDesktop::Path(titlesLocked ? "Lb1 (not loaded).qlx" : "Cb1 (not loaded).qlx");
    fresh.files.files[kLb1] = lb1;
    fresh.files.files[kCb1] = kRecords;
    fresh.files.unreadable.insert(locked);
    TForm1 f(fresh.Platform());
    EXPECT_EQ(fresh.dialogs.errors, std::vector<std::string>{"Cannot open file " + locked});
    // The other file loaded all the same.
    EXPECT_EQ(f.store().Count(), titlesLocked ? 8 : 0);
    EXPECT_EQ(fresh.titles.Count(), titlesLocked ? 2 : 1);

    fresh.files.unreadable.erase(locked);  // the other program lets go
    fresh.clipboard.CopyText("new");
    f.Housekeeping();
    EXPECT_EQ(fresh.files.files[keptAs], titlesLocked ? lb1 : kRecords);
    ASSERT_EQ(fresh.dialogs.errors.size(), 2u);
    EXPECT_EQ(fresh.dialogs.errors[1], "The clips in " + locked +
                                           " could not all be loaded when Solvane Clips started. So that saving does not "
                                           "overwrite them, that file has been kept as " + keptAs + ".");
    EXPECT_NE(fresh.files.files[locked].find("new"), std::string::npos);
    f.Housekeeping();
    EXPECT_EQ(fresh.dialogs.errors.size(), 2u);  // said once
    EXPECT_EQ(fresh.files.files[keptAs], titlesLocked ? lb1 : kRecords);
  }
}

// Reading stops at a NUL byte; the titles after it must not be lost to the
// next save.
TEST_F(HousekeepingTest, TitleFileCutShortByANulIsKeptAsideBeforeItIsSaved) {
  const std::string lb1 = "shown" + kTitlePadding + "1111111111111\r\nbe" + std::string(1, '\0') + "ta\r\nlater\r\n";
  File(kLb1) = lb1;
  Start();
  EXPECT_EQ(desk.titles.Count(), 2);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  form->Housekeeping();
  EXPECT_EQ(File(FakeDesktop::Path("Lb1 (not loaded).qlx")), lb1);
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(File(kLb1), "shown" + kTitlePadding + "1111111111111\r\nbe\r\n");
}

TEST_F(HousekeepingTest, KeptFileNeverReplacesAnEarlierOne) {
  File(kLb1) = "third";
  File(FakeDesktop::Path("Lb1 (not loaded).qlx")) = "first";
  File(FakeDesktop::Path("Lb1 (not loaded 2).qlx")) = "second";
  desk.files.unreadable.insert(kLb1);
  Start();
  desk.files.unreadable.clear();
  form->Housekeeping();
  EXPECT_EQ(File(FakeDesktop::Path("Lb1 (not loaded).qlx")), "first");
  EXPECT_EQ(File(FakeDesktop::Path("Lb1 (not loaded 2).qlx")), "second");
  EXPECT_EQ(File(FakeDesktop::Path("Lb1 (not loaded 3).qlx")), "third");
}

// Still locked at the save: the file cannot be moved, so nothing is written
// in its place, and the next save tries again.
TEST_F(HousekeepingTest, LockedClipFileStopsTheSaveUntilItCanBeKept) {
  File(kCb1) = kRecords;
  desk.files.unreadable.insert(kCb1);
  Start();
  desk.files.FailAt(Step::Replace, 2);  // the title file's swap goes through, moving Cb1.qlx does not
  form->HandleEvent([this] { form->Housekeeping(); });
  EXPECT_EQ(desk.dialogs.errors.back(), "Cannot create file C:\\Clips\\Cb1.qlx");
  EXPECT_EQ(File(kCb1), kRecords);
  desk.files.unreadable.clear();
  form->Housekeeping();
  EXPECT_EQ(File(FakeDesktop::Path("Cb1 (not loaded).qlx")), kRecords);
  EXPECT_EQ(File(kCb1), "");
}

TEST_F(HousekeepingTest, StaleSavesFromACrashAreRemovedAtStart) {
  File(kLb1 + ".saving") = "half";
  File(kCb1 + ".saving") = "half";
  Start();
  EXPECT_EQ(desk.files.files.count(kLb1 + ".saving"), 0u);
  EXPECT_EQ(desk.files.files.count(kCb1 + ".saving"), 0u);
}

TEST_F(HousekeepingTest, SavedFilesHaveTheExactLayoutAndLoadBack) {
  desk.clock.tick = 123456;
  Start();
  desk.clipboard.CopyText("one");
  desk.clipboard.CopyText("two\r\nlines");
  form->SaveClips1Click();
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
  form->Housekeeping();
  EXPECT_EQ(File(kLb1), lb1);
  EXPECT_EQ(File(kCb1), cb1);
}

TEST_F(HousekeepingTest, FailedTitleSaveDoesNotWriteTheStore) {
  File(kCb1) = "";
  Start();
  desk.clipboard.CopyText("x");
  desk.files.FailAt(Step::Create);
  form->HandleEvent([this] { form->Housekeeping(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\Lb1.qlx"});
  EXPECT_EQ(File(kLb1), "");
  EXPECT_EQ(File(kCb1), "");
}

TEST_F(HousekeepingTest, AutosaveWritesOnlyAfterAChange) {
  TForm1& f = Start();
  EXPECT_EQ(desk.timers.intervals[kTimer2], 3000);
  const int before = desk.files.creates;
  f.Timer2Timer();
  EXPECT_EQ(desk.files.creates, before);  // idle: nothing written

  desk.clock.seconds += 5;
  desk.clipboard.CopyText("new");
  f.Timer2Timer();
  EXPECT_EQ(desk.files.creates, before + 2);
  EXPECT_EQ(f.state().LastSaveTime, f.state().LastChangeTime);
  EXPECT_NE(File(kLb1), "");
  f.Timer2Timer();
  EXPECT_EQ(desk.files.creates, before + 2);
}

// The times are cut to whole seconds; a capture in the same second as the
// start (or the last autosave) is still written by the next tick.
TEST_F(HousekeepingTest, AutosaveMissesNoCaptureWithinTheSameSecond) {
  desk.clipboard.CopyText("at start");
  TForm1& f = Start();
  f.Timer2Timer();
  EXPECT_NE(File(kCb1).find("at start"), std::string::npos);
  desk.clipboard.CopyText("same second");
  f.Timer2Timer();
  EXPECT_NE(File(kCb1).find("same second"), std::string::npos);
}

TEST_F(HousekeepingTest, FailedAutosaveIsTriedAgainAtTheNextTick) {
  TForm1& f = Start();
  desk.clock.seconds += 5;
  desk.clipboard.CopyText("new");
  const auto saveTime = f.state().LastSaveTime;
  desk.files.readOnly = true;
  f.HandleEvent([&] { f.Timer2Timer(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(f.state().LastSaveTime, saveTime);
  desk.files.readOnly = false;
  f.HandleEvent([&] { f.Timer2Timer(); });
  EXPECT_EQ(f.state().LastSaveTime, f.state().LastChangeTime);
  EXPECT_NE(File(kLb1), "");
}

TEST_F(HousekeepingTest, TicksDuringAFailedAutosavesBoxDoNotStackBoxes) {
  TForm1& f = Start();
  desk.clock.seconds += 5;
  desk.clipboard.CopyText("new");
  desk.files.readOnly = true;
  desk.dialogs.whileOpen = [&] { f.HandleEvent([&] { f.Timer2Timer(); }); };
  f.HandleEvent([&] { f.Timer2Timer(); });
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
}

TEST_F(HousekeepingTest, ClearEmptiesEverythingAndScrubsBothFiles) {
  TForm1& f = Start();
  desk.clipboard.CopyText("secret");
  f.Housekeeping();
  desk.window.visible = true;
  f.ClearClips1Click();
  EXPECT_FALSE(desk.window.visible);
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(f.store().Count(), 0);
  EXPECT_EQ(f.LastCapture(), "");
  EXPECT_EQ(f.WorkBuffer(), "");
  EXPECT_EQ(File(kLb1), "");
  EXPECT_EQ(File(kCb1), "");
  EXPECT_TRUE(desk.dialogs.questions.empty());
  // The same text again is a new clip: the last capture was emptied.
  desk.clipboard.CopyText("secret");
  EXPECT_EQ(desk.titles.Count(), 1);
}

// The unfinished copy a crashed save left holds clips too; clearing goes
// over its bytes before it is deleted, as over the files'.
TEST_F(HousekeepingTest, ClearScrubsLeftoverSaveCopiesBeforeRemovingThem) {
  TForm1& f = Start();
  File(kCb1 + ".saving") = "half a secret";
  f.ClearClips1Click();
  EXPECT_EQ(desk.files.files.count(kCb1 + ".saving"), 0u);
  EXPECT_EQ(desk.files.inPlaceOpens, 3);  // Lb1.qlx, Cb1.qlx and the copy
  EXPECT_GE(desk.files.bytesWritten, 70u * 3 * std::string("half a secret").size());
}

TEST_F(HousekeepingTest, ClearAnsweredNoChangesNothingButHides) {
  TForm1& f = Start();
  desk.clipboard.CopyText("keep");
  f.Housekeeping();
  const std::string lb1 = File(kLb1);
  desk.form2.CheckBox3 = true;
  desk.dialogs.answer = false;
  desk.window.visible = true;
  f.ClearClips1Click();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Clear all current clips?"});
  EXPECT_EQ(desk.pointer.x, 1281 / 2 - 20);
  EXPECT_EQ(desk.pointer.y, 801 / 2 + 33);
  EXPECT_FALSE(desk.window.visible);
  EXPECT_EQ(desk.titles.Count(), 1);
  EXPECT_EQ(f.LastCapture(), "keep");
  EXPECT_EQ(File(kLb1), lb1);
}

TEST_F(HousekeepingTest, ClipCapturedWhileTheClearQuestionWaitsIsClearedToo) {
  TForm1& f = Start();
  desk.form2.CheckBox3 = true;
  desk.dialogs.whileOpen = [&] { desk.clipboard.CopyText("arrived meanwhile"); };
  f.ClearClips1Click();
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(f.store().Count(), 0);
}

TEST_F(HousekeepingTest, QuitWithoutPromptClosesAndSavesEverything) {
  TForm1& f = Start();
  desk.clipboard.CopyText("saved at close");
  f.state().WindowShown = true;
  f.Quit1Click();
  EXPECT_TRUE(desk.window.closed);
  EXPECT_FALSE(f.state().WindowShown);
  EXPECT_NE(File(kLb1).find("saved at close"), std::string::npos);
  EXPECT_NE(File(kCb1).find("saved at close"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
}

TEST_F(HousekeepingTest, QuitAnsweredNoStaysButHides) {
  TForm1& f = Start();
  desk.form2.CheckBox4 = true;
  desk.dialogs.answer = false;
  desk.window.visible = true;
  f.state().WindowShown = true;
  f.Quit1Click();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Quit Solvane Clips?"});
  EXPECT_EQ(desk.pointer.x, 1281 / 2 - 25);
  EXPECT_EQ(desk.pointer.y, 801 / 2 + 35);
  EXPECT_EQ(desk.window.closeRequests, 0);
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(f.state().WindowShown);

  desk.dialogs.answer = true;
  f.Quit1Click();
  EXPECT_TRUE(desk.window.closed);
}

TEST_F(HousekeepingTest, SecondPromptWhileOneIsUpIsDeclined) {
  TForm1& f = Start();
  desk.clipboard.CopyText("kept");
  desk.form2.CheckBox3 = true;
  desk.form2.CheckBox4 = true;
  desk.dialogs.answer = true;
  int nested = 0;
  // From the tray menu while the first box is up: Quit, then Clear Clips.
  desk.dialogs.whileOpen = [&] {
    if (nested++ > 0) return;
    f.Quit1Click();
    f.ClearClips1Click();
  };
  f.Quit1Click();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Quit Solvane Clips?"});
  EXPECT_EQ(desk.window.closeRequests, 1);  // the outer Yes, once
  EXPECT_EQ(desk.titles.Count(), 1);        // the inner Clear Clips did nothing

  desk.dialogs.whileOpen = nullptr;
  f.ClearClips1Click();  // asked again once the first box is gone
  EXPECT_EQ(desk.dialogs.questions.back(), "Clear all current clips?");
  EXPECT_EQ(desk.titles.Count(), 0);
}

// A close that cannot save everything says what, and asks; the rest is
// saved all the same.
TEST_F(HousekeepingTest, CloseThatCannotSaveAsksWhetherToQuitAnyway) {
  const std::string settings = FakeDesktop::Path("Solvaneclips.ini");
  for (const bool quit : {false, true}) {
    SCOPED_TRACE(quit ? "Yes" : "No");
    FakeDesktop fresh;
    TForm1 f(fresh.Platform());
    fresh.window.onClose = [&] { return f.FormClose(); };
    fresh.form2.RestoreState(settings);
    fresh.form2.ComboBox2 = "250";
    fresh.clipboard.CopyText("unsaved");
    fresh.files.FailAt(Step::Replace, 3);  // the clip files go through, "prefs.qlx" does not
    fresh.dialogs.answer = quit;
    f.Quit1Click();
    ASSERT_EQ(fresh.dialogs.questions.size(), 1u);
    EXPECT_EQ(fresh.dialogs.questions[0],
              "Solvane Clips could not save everything:\r\n\r\nCannot create file C:\\Clips\\prefs.qlx\r\n\r\n"
              "Quit anyway? What was not saved will be lost.");
    EXPECT_EQ(fresh.window.closed, quit);
    EXPECT_TRUE(fresh.dialogs.errors.empty());
    EXPECT_NE(fresh.files.files[kCb1].find("unsaved"), std::string::npos);
    EXPECT_NE(fresh.files.files[settings].find("ComboBox2.Text=250"), std::string::npos);
  }
}

TEST_F(HousekeepingTest, SessionEndSavesClipsAndSettingsAndNeverShowsABox) {
  const std::string settings = FakeDesktop::Path("Solvaneclips.ini");
  TForm1& f = Start();
  desk.form2.RestoreState(settings);
  File(kPrefs) = "1111111111\r\n";  // as another run would have left it
  desk.clipboard.CopyText("at logoff");
  EXPECT_EQ(f.WMQueryEndSession(), 1);
  EXPECT_NE(File(kCb1).find("at logoff"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");
  // A copy between the query and the end, and a hotkey changed in the
  // dialog earlier: both reach the disk before the process is ended.
  desk.clipboard.CopyText("after the query");
  desk.form2.ComboBox1 = "Ctrl+F9";
  f.WMEndSession(true);
  EXPECT_NE(File(kCb1).find("after the query"), std::string::npos);
  EXPECT_NE(File(settings).find("ComboBox1.Text=Ctrl+F9"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");

  desk.clipboard.CopyText("cannot be saved");
  desk.files.readOnly = true;
  EXPECT_EQ(f.WMQueryEndSession(), 1);
  f.WMEndSession(true);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  EXPECT_TRUE(desk.dialogs.questions.empty());
}

// Any box may be up when the close comes (here the start's own), and the
// clips copied while it waited are saved as at any close.
TEST_F(HousekeepingTest, CloseWhileAStartBoxIsUpSavesTheHistory) {
  desk.files.files.erase(kLb1);
  desk.files.files.erase(kCb1);
  int boxes = 0;
  desk.dialogs.whileOpen = [&] {
    if (boxes++ > 0) return;
    desk.clipboard.CopyText("copied meanwhile");
    desk.window.Close();
  };
  Start();
  EXPECT_TRUE(desk.window.closed);
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);  // the second start box is not shown to a closed program
  EXPECT_NE(File(kLb1).find("copied meanwhile"), std::string::npos);
  EXPECT_NE(File(kCb1).find("copied meanwhile"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
}

TEST_F(HousekeepingTest, PreferenceLineTravelsUnchangedButForItsFlag) {
  struct Case {
    std::string file, written;
    bool flag;
  };
  for (const Case& c : {Case{"1abcdefghi\r\n", "1abcdefghi\r\n", true},
                        Case{"0000000001\r\nignored\r\n", "0000000001\r\n", false},
                        Case{"x123456789", "0123456789\r\n", false},
                        Case{"\r\n", "0000000000\r\n", false}, Case{"", "0000000000\r\n", false}}) {
    SCOPED_TRACE(c.file);
    FakeDesktop fresh;
    fresh.files.files[kPrefs] = c.file;
    TForm1 f(fresh.Platform());
    f.InitializeParameters("PgmUpdate");
    EXPECT_EQ(f.TitleLineFlag(), c.flag);
    f.InitializeParameters("ParmUpdate");
    EXPECT_EQ(fresh.files.files[kPrefs], c.written);
  }
}

TEST_F(HousekeepingTest, PreferenceSaveCutShortAtAnyStepLeavesTheOldFileWhole) {
  for (const Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Replace}) {
    SCOPED_TRACE(static_cast<int>(step));
    FakeDesktop fresh;
    // A whole save would drop the second line.
    fresh.files.files[kPrefs] = "0abcdefghi\r\nsecond\r\n";
    TForm1 f(fresh.Platform());
    f.InitializeParameters("PgmUpdate");
    fresh.files.FailAt(step);
    f.HandleEvent([&] { f.InitializeParameters("ParmUpdate"); });
    EXPECT_EQ(fresh.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\prefs.qlx"});
    EXPECT_EQ(fresh.files.files[kPrefs], "0abcdefghi\r\nsecond\r\n");
    EXPECT_EQ(fresh.files.files.count(kPrefs + ".saving"), 0u);
  }
}

TEST_F(HousekeepingTest, PreferencesWithoutALoadAndUnknownModes) {
  TForm1& f = Start();
  File(kPrefs) = "1999999999\r\n";
  f.InitializeParameters("Other");
  EXPECT_EQ(File(kPrefs), "1999999999\r\n");
  f.InitializeParameters("ParmUpdate");  // never loaded: the defaults
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
  desk.files.files.erase(kPrefs);
  f.HandleEvent([&] { f.InitializeParameters("PgmUpdate"); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot open file C:\\Clips\\prefs.qlx"});
}

}  // namespace
}  // namespace solvane
