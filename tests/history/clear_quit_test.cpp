#include "history/history_fixture.h"

namespace solvane {
namespace {

using namespace history_testing;

TEST_F(HistoryTest, ClearEmptiesEverythingAndScrubsBothFiles) {
  Start();
  Copy("secret");
  program->history().SaveHistory();
  desk.window.visible = true;
  program->ClearClips();
  EXPECT_FALSE(desk.window.visible);
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(program->store().Count(), 0);
  EXPECT_EQ(program->capture().LastCapture(), "");
  EXPECT_EQ(File(kLb1), "");
  EXPECT_EQ(File(kCb1), "");
  EXPECT_TRUE(desk.dialogs.questions.empty());
  // The same text again is a new clip: the last capture was emptied.
  Copy("secret");
  EXPECT_EQ(desk.titles.Count(), 1);
}

// The unfinished copy a crashed save left holds clips too; clearing goes
// over its bytes before it is deleted, as over the files'.
TEST_F(HistoryTest, ClearScrubsLeftoverSaveCopiesBeforeRemovingThem) {
  Start();
  File(kCb1 + ".saving") = "half a secret";
  program->ClearClips();
  EXPECT_FALSE(HasFile(kCb1 + ".saving"));
  EXPECT_EQ(desk.files.inPlaceOpens, 3);  // Lb1.qlx, Cb1.qlx and the copy
  EXPECT_GE(desk.files.bytesWritten, 70u * 3 * std::string("half a secret").size());
}

TEST_F(HistoryTest, ClearAnsweredNoChangesNothingButHides) {
  Start();
  Copy("keep");
  program->history().SaveHistory();
  const std::string lb1 = File(kLb1);
  desk.settingsDialog.promptClear = true;
  desk.dialogs.answer = false;
  desk.window.visible = true;
  program->ClearClips();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Clear all current clips?"});
  EXPECT_EQ(desk.pointer.x, 1281 / 2 - 20);
  EXPECT_EQ(desk.pointer.y, 801 / 2 + 33);
  EXPECT_FALSE(desk.window.visible);
  EXPECT_EQ(desk.titles.Count(), 1);
  EXPECT_EQ(program->capture().LastCapture(), "keep");
  EXPECT_EQ(File(kLb1), lb1);
}

TEST_F(HistoryTest, ClipCapturedWhileTheClearQuestionWaitsIsClearedToo) {
  Start();
  desk.settingsDialog.promptClear = true;
  desk.dialogs.whileOpen = [&] { Copy("arrived meanwhile"); };
  program->ClearClips();
  EXPECT_EQ(desk.titles.Count(), 0);
  EXPECT_EQ(program->store().Count(), 0);
}

TEST_F(HistoryTest, QuitWithoutPromptClosesAndSavesEverything) {
  Start();
  Copy("saved at close");
  program->state().WindowShown = true;
  program->Quit();
  EXPECT_TRUE(desk.window.closed);
  EXPECT_FALSE(program->state().WindowShown);
  EXPECT_NE(File(kLb1).find("saved at close"), std::string::npos);
  EXPECT_NE(File(kCb1).find("saved at close"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
}

TEST_F(HistoryTest, QuitAnsweredNoStaysButHides) {
  Start();
  desk.settingsDialog.promptQuit = true;
  desk.dialogs.answer = false;
  desk.window.visible = true;
  program->state().WindowShown = true;
  program->Quit();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Quit Solvane Clips?"});
  EXPECT_EQ(desk.pointer.x, 1281 / 2 - 25);
  EXPECT_EQ(desk.pointer.y, 801 / 2 + 35);
  EXPECT_EQ(desk.window.closeRequests, 0);
  EXPECT_FALSE(desk.window.visible);
  EXPECT_FALSE(program->state().WindowShown);

  desk.dialogs.answer = true;
  program->Quit();
  EXPECT_TRUE(desk.window.closed);
}

TEST_F(HistoryTest, SecondPromptWhileOneIsUpIsDeclined) {
  Start();
  Copy("kept");
  desk.settingsDialog.promptClear = true;
  desk.settingsDialog.promptQuit = true;
  desk.dialogs.answer = true;
  int nested = 0;
  // From the tray menu while the first box is up: Quit, then Clear Clips.
  desk.dialogs.whileOpen = [&] {
    if (nested++ > 0) return;
    program->Quit();
    program->ClearClips();
  };
  program->Quit();
  EXPECT_EQ(desk.dialogs.questions, std::vector<std::string>{"Quit Solvane Clips?"});
  EXPECT_EQ(desk.window.closeRequests, 1);  // the outer Yes, once
  EXPECT_EQ(desk.titles.Count(), 1);        // the inner Clear Clips did nothing

  desk.dialogs.whileOpen = nullptr;
  program->ClearClips();  // asked again once the first box is gone
  EXPECT_EQ(desk.dialogs.questions.back(), "Clear all current clips?");
  EXPECT_EQ(desk.titles.Count(), 0);
}

// The answer to "Quit anyway?": Yes (true) or No (false).
class QuitAnywayTest : public HistoryTest, public ::testing::WithParamInterface<bool> {};

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
  program->Quit();
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

TEST_F(HistoryTest, SessionEndSavesClipsAndSettingsAndNeverShowsABox) {
  Start();
  desk.settingsDialog.RestoreState(FakeDesktop::Path(kSettings));
  File(kPrefs) = "1111111111\r\n";  // as another run would have left it
  Copy("at logoff");
  EXPECT_EQ(program->OnQueryEndSession(), 1);
  EXPECT_NE(File(kCb1).find("at logoff"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");
  // A copy between the query and the end, and a hotkey changed in the
  // dialog earlier: both reach the disk before the process is ended.
  Copy("after the query");
  desk.settingsDialog.hotkeyText = "Ctrl+F9";
  program->OnEndSession(true);
  EXPECT_NE(File(kCb1).find("after the query"), std::string::npos);
  EXPECT_NE(File(kSettings).find("ComboBox1.Text=Ctrl+F9"), std::string::npos);
  EXPECT_EQ(File(kPrefs), "1111111111\r\n");

  Copy("cannot be saved");
  desk.files.readOnly = true;
  EXPECT_EQ(program->OnQueryEndSession(), 1);
  program->OnEndSession(true);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  EXPECT_TRUE(desk.dialogs.questions.empty());
}

// Any box may be up when the close comes (here the start's own), and the
// clips copied while it waited are saved as at any close.
TEST_F(HistoryTest, CloseWhileAStartBoxIsUpSavesTheHistory) {
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

class PreferenceLineTest : public HistoryTest, public ::testing::WithParamInterface<PreferenceLine> {};

TEST_P(PreferenceLineTest, PreferenceLineTravelsUnchangedButForItsFlag) {
  File(kPrefs) = GetParam().file;
  Start();
  program->history().LoadPrefs();
  EXPECT_EQ(program->history().titleLineFlag(), GetParam().flag);
  program->history().SavePrefs();
  EXPECT_EQ(File(kPrefs), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(AsFound, PreferenceLineTest,
                         ::testing::Values(PreferenceLine{"1abcdefghi\r\n", "1abcdefghi\r\n", true},
                                           PreferenceLine{"0000000001\r\nignored\r\n", "0000000001\r\n", false},
                                           PreferenceLine{"x123456789", "0123456789\r\n", false},
                                           PreferenceLine{"\r\n", "0000000000\r\n", false},
                                           PreferenceLine{"", "0000000000\r\n", false}));

class PreferenceSaveStepTest : public HistoryTest, public ::testing::WithParamInterface<Step> {};

TEST_P(PreferenceSaveStepTest, PreferenceSaveCutShortAtThisStepLeavesTheOldFileWhole) {
  // A whole save would drop the second line.
  File(kPrefs) = "0abcdefghi\r\nsecond\r\n";
  Start();
  program->history().LoadPrefs();
  desk.files.FailAt(GetParam());
  program->HandleEvent([this] { program->history().SavePrefs(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot create file C:\\Clips\\prefs.qlx"});
  EXPECT_EQ(File(kPrefs), "0abcdefghi\r\nsecond\r\n");
  EXPECT_FALSE(HasFile(kPrefs + ".saving"));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, PreferenceSaveStepTest,
                         ::testing::Values(Step::Create, Step::Write, Step::Flush, Step::Close, Step::Replace));

TEST_F(HistoryTest, PreferencesSavedWithoutALoadAreTheDefaults) {
  Start();
  File(kPrefs) = "1999999999\r\n";
  program->history().SavePrefs();  // never loaded: the defaults
  EXPECT_EQ(File(kPrefs), "0000000000\r\n");
  RemoveFile(kPrefs);
  program->HandleEvent([&] { program->history().LoadPrefs(); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Cannot open file C:\\Clips\\prefs.qlx"});
}

}  // namespace
}  // namespace solvane
