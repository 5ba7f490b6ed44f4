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
  TForm1& Start() {
    form = std::make_unique<TForm1>(desk.Platform());
    desk.window.onClose = [this] { return form->FormClose(); };
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

TEST_F(HousekeepingTest, MissingTitleFileSkipsTheStoreAndTheCapture) {
  desk.files.files.erase(kLb1);
  File(kCb1) = "/:hdr:\\1111111111111\r\nx\r\n/:tlr:\\1111111111111\r\n";
  desk.clipboard.CopyText("not captured");
  TForm1& f = Start();
  ASSERT_EQ(desk.dialogs.errors.size(), 1u);
  EXPECT_EQ(desk.dialogs.errors[0], "Cannot open file C:\\Clips\\Lb1.qlx");
  EXPECT_EQ(f.store().Count(), 0);
  EXPECT_EQ(desk.titles.Count(), 0);
  // The program runs on: the next copy is captured.
  desk.clipboard.CopyText("later");
  EXPECT_EQ(desk.titles.Count(), 1);
}

TEST_F(HousekeepingTest, MissingStoreFileKeepsTheTitlesAndSkipsTheCapture) {
  File(kLb1) = "t" + kTitlePadding + "1111111111111\r\n";
  desk.files.files.erase(kCb1);
  desk.clipboard.CopyText("not captured");
  Start();
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot open file C:\\Clips\\Cb1.qlx"});
  EXPECT_EQ(desk.titles.Count(), 1);
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

TEST_F(HousekeepingTest, CloseThatCannotSaveKeepsTheProgramRunning) {
  TForm1& f = Start();
  desk.clipboard.CopyText("unsaved");
  desk.files.readOnly = true;
  f.Quit1Click();
  EXPECT_EQ(desk.window.closeRequests, 1);
  EXPECT_FALSE(desk.window.closed);
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\Lb1.qlx"});
  EXPECT_EQ(desk.titles.Count(), 1);
}

TEST_F(HousekeepingTest, SessionEndSavesTheClipsButNotThePreferences) {
  TForm1& f = Start();
  File(kPrefs) = "1111111111\r\n";  // as another run would have left it
  desk.clipboard.CopyText("at logoff");
  EXPECT_EQ(f.WMQueryEndSession(), 1);
  EXPECT_NE(File(kCb1).find("at logoff"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");
  desk.files.readOnly = true;
  EXPECT_EQ(f.WMQueryEndSession(), 1);
  EXPECT_EQ(desk.dialogs.errors.size(), 1u);
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
