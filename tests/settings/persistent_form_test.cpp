#include "settings/persistent_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/app_error.h"
#include "platform/fake/fake_ini_files.h"
#include "platform/fake/fake_settings_dialog.h"
#include "settings/settings_dialog.h"
#include "support/program_fixture.h"

namespace solvane {
namespace {

const std::string kIni = "C:\\Clips\\Solvaneclips.ini";

class SettingsFileTest : public ::testing::Test {
 protected:
  fake::FakeFileSystem files;
  fake::FakeIniFiles ini{files};
};

TEST_F(SettingsFileTest, FirstEndWritesTheSectionWithAllNineKeys) {
  SettingsDialog dialog(ini);
  dialog.RestoreState(kIni);
  EXPECT_EQ(dialog.hotkeyText, "Ctrl+Alt+Down");
  EXPECT_FALSE(dialog.promptQuit);
  dialog.SaveState();
  EXPECT_EQ(files.files[kIni],
            "[Form2]\r\nTop=254\r\nLeft=433\r\nWidth=236\r\nHeight=302\r\n"
            "ComboBox1.Text=Ctrl+Alt+Down\r\nComboBox2.Text=100\r\nCheckBox1.Checked=FALSE\r\n"
            "CheckBox3.Checked=FALSE\r\nCheckBox4.Checked=FALSE\r\n");
}

TEST_F(SettingsFileTest, StoredValuesComeBackAndBooleansMustBeExact) {
  files.files[kIni] =
      "[Form2]\r\nTop=10\r\nLeft=0\r\nComboBox1.Text=F9\r\nComboBox2.Text=5000\r\n"
      "CheckBox1.Checked=TRUE\r\nCheckBox3.Checked=yes\r\nCheckBox4.Checked=true\r\n";
  SettingsDialog dialog(ini);
  dialog.RestoreState(kIni);
  EXPECT_EQ(dialog.hotkeyText, "F9");
  EXPECT_EQ(dialog.pasteDelayText, "5000");
  EXPECT_TRUE(dialog.autosave);
  EXPECT_FALSE(dialog.promptClear);
  EXPECT_FALSE(dialog.promptQuit);  // "true" in small letters is not TRUE
  dialog.SaveState();
  EXPECT_NE(files.files[kIni].find("Top=10\r\nLeft=433\r\n"), std::string::npos);  // Left=0 not applied
}

// Any number the file holds is a place: one far out comes back and is saved
// as it was, its size kept beside it.
TEST_F(SettingsFileTest, PlaceFarOutComesBackAsStored) {
  files.files[kIni] = "[Form2]\r\nTop=2147483647\r\nLeft=-2147483647\r\n";
  SettingsDialog dialog(ini);
  fake::FakeSettingsWindow window;
  dialog.set_window(&window);
  dialog.RestoreState(kIni);
  EXPECT_EQ(window.bounds, (Placement{-2147483647, 2147483647, 236, 302}));
  dialog.SaveState();
  EXPECT_NE(files.files[kIni].find("Top=2147483647\r\nLeft=-2147483647\r\nWidth=236\r\nHeight=302\r\n"),
            std::string::npos);
  dialog.set_window(nullptr);
}

TEST_F(SettingsFileTest, ClearedTextIsNotWrittenSoTheOldValueComesBack) {
  files.files[kIni] = "[Form2]\r\nComboBox1.Text=Ctrl+Shift+Up\r\n";
  SettingsDialog dialog(ini);
  dialog.RestoreState(kIni);
  dialog.hotkeyText.clear();
  dialog.SaveState();
  SettingsDialog next(ini);
  next.RestoreState(kIni);
  EXPECT_EQ(next.hotkeyText, "Ctrl+Shift+Up");
}

// The profile functions trim spaces and quotes off a value's ends and pass
// it through the ANSI code page: a path is kept in escaped ASCII.
TEST_F(SettingsFileTest, SharedFolderComesBackWithAnyCharacterAfterTheNineKeys) {
  const std::string nine =
      "[Form2]\r\nTop=254\r\nLeft=433\r\nWidth=236\r\nHeight=302\r\n"
      "ComboBox1.Text=Ctrl+Alt+Down\r\nComboBox2.Text=100\r\nCheckBox1.Checked=FALSE\r\n"
      "CheckBox3.Checked=FALSE\r\nCheckBox4.Checked=FALSE\r\n";
  struct Case {
    std::string folder, stored;
  };
  for (const Case& c : {
           Case{"C:\\My Shared Clips\\", "C:\\My Shared Clips\\"},
           Case{"\\\\nas\\clips;100%=\"", "\\\\nas\\clips;100%25=%22"},
           Case{" D:\\Gr\xC3\xBC\xC3\x9F"
                "e \xE6\x97\xA5\\\xF0\x9F\x93\x8B ",
                "%20D:\\Gr%u00FC%u00DFe %u65E5\\%uD83D%uDCCB%20"},
           Case{"\xC3\x81\x81\tA", "%u00C1%81%09A"},  // a byte of no character, a tab
           Case{"\xFB\x81\x81\x81", "%FB%81%81%81"},  // a lead byte that leads nothing
       }) {
    SCOPED_TRACE(c.stored);
    files.files.clear();
    SettingsDialog dialog(ini);
    dialog.RestoreState(kIni);
    dialog.shareFolder = c.folder;
    dialog.SaveState();
    EXPECT_EQ(files.files[kIni], nine + "Edit1.Text=" + c.stored + "\r\n");
    SettingsDialog next(ini);
    next.RestoreState(kIni);
    EXPECT_EQ(next.shareFolder, c.folder);
    // The start's read of the folder, made before the dialog exists.
    EXPECT_EQ(SettingsDialog::StoredShareFolder(ini, kIni), c.folder);
  }
}

TEST_F(SettingsFileTest, EmptiedFolderTurnsSharingOffForGood) {
  files.files[kIni] = "[Form2]\r\nEdit1.Text=C:\\Shared\r\n";
  SettingsDialog dialog(ini);
  dialog.RestoreState(kIni);
  EXPECT_EQ(dialog.shareFolder, "C:\\Shared");
  dialog.shareFolder.clear();
  dialog.SaveState();
  SettingsDialog next(ini);
  next.RestoreState(kIni);
  EXPECT_EQ(next.shareFolder, "");
}

// A value written by hand: a '%' that starts no escape stands for itself,
// half a surrogate pair for U+FFFD.
TEST(EscapedTextTest, HandWrittenValuesReadAsWritten) {
  EXPECT_EQ(UnescapedText("C:\\100%\\%zz%4%u12%41%u00e9"), "C:\\100%\\%zz%4%u12A\xC3\xA9");
  EXPECT_EQ(UnescapedText("%uD83Dx%uDCCB"), "\xEF\xBF\xBDx\xEF\xBF\xBD");
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  const std::string stored = EscapedText(bytes);
  EXPECT_EQ(stored.find_first_not_of("!#$&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
                                     "abcdefghijklmnopqrstuvwxyz{|}~% "),
            std::string::npos);
  EXPECT_EQ(UnescapedText(stored), bytes);
}

TEST_F(SettingsFileTest, LongValuesAreCutAndOtherSectionsStay) {
  files.files[kIni] = "[Other]\r\nComboBox2.Text=1\r\n[Form2]\r\nComboBox2.Text=" + std::string(3000, '7') + "\r\n";
  SettingsDialog dialog(ini);
  dialog.RestoreState(kIni);
  EXPECT_EQ(dialog.pasteDelayText.size(), 2047u);
  dialog.SaveState();
  EXPECT_EQ(ini.Read(kIni, "Other", "ComboBox2.Text", ""), "1");
}

TEST_F(SettingsFileTest, SaveCutShortAtAnyStepLeavesTheOldFileWhole) {
  using Step = fake::FakeFileSystem::Step;
  const std::string old = "[Other]\r\nKept=1\r\n[Form2]\r\nComboBox1.Text=F9\r\n";
  const auto saveOnce = [&](auto&& breakIt) {
    files.files = {{kIni, old}};
    files.FailAt(Step::None);
    ini.refuseAfter = -1;
    SettingsDialog dialog(ini, &files);
    dialog.RestoreState(kIni);
    dialog.hotkeyText = "F10";
    breakIt();
    std::string error;
    try {
      dialog.SaveState();
    } catch (const AppError& e) {
      error = e.what();
    }
    return error;
  };
  for (const Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Replace}) {
    SCOPED_TRACE(static_cast<int>(step));
    EXPECT_EQ(saveOnce([&] { files.FailAt(step); }), "Unable to write to " + kIni);
    EXPECT_EQ(files.files[kIni], old);
    EXPECT_EQ(files.files.size(), 1u) << "the copy was left behind";
  }
  for (const int written : {0, 4, 8}) {
    SCOPED_TRACE(written);
    EXPECT_EQ(saveOnce([&] { ini.refuseAfter = ini.writes + written; }), "Unable to write to " + kIni);
    EXPECT_EQ(files.files[kIni], old);
    EXPECT_EQ(files.files.size(), 1u);
  }
  EXPECT_EQ(saveOnce([] {}), "");
  EXPECT_EQ(ini.Read(kIni, "Form2", "ComboBox1.Text", ""), "F10");
  EXPECT_EQ(ini.Read(kIni, "Other", "Kept", ""), "1");
  EXPECT_EQ(files.files.size(), 1u);

  // A copy left by a crash is removed at the next start.
  files.files[kIni + ".saving"] = "[Form2]\r\nTop=";
  SettingsDialog next(ini, &files);
  next.RestoreState(kIni);
  EXPECT_EQ(next.hotkeyText, "F10");
  EXPECT_EQ(files.files.count(kIni + ".saving"), 0u);
}

TEST_F(SettingsFileTest, RefusedWriteStopsTheSaveWithItsError) {
  SettingsDialog dialog(ini);
  dialog.RestoreState(kIni);
  files.readOnly = true;
  try {
    dialog.SaveState();
    FAIL() << "expected an error";
  } catch (const AppError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + kIni);
  }
  EXPECT_EQ(ini.writes, 0);
}

// A dialog may keep a property for one component class only.
class KeepsStates : public SettingsDialog {
 public:
  using SettingsDialog::SettingsDialog;
  void RegisterStoredProperties() override {
    SettingsDialog::RegisterStoredProperties();
    storedProperties_.insert("TComboBox.ItemIndex");
  }
};

TEST_F(SettingsFileTest, StoredNamesCanNameAClassAndIgnoreCase) {
  KeepsStates dialog(ini);
  dialog.RestoreState(kIni);
  EXPECT_TRUE(dialog.IsPropertyStored("TComboBox", "ItemIndex"));
  EXPECT_TRUE(dialog.IsPropertyStored("TCheckBox", "checked"));
  EXPECT_FALSE(dialog.IsPropertyStored("TCheckBox", "ItemIndex"));
  EXPECT_FALSE(dialog.IsPropertyStored("TLabel", "Caption"));
  dialog.SaveState();
  EXPECT_EQ(ini.Read(kIni, "Form2", "ComboBox1.ItemIndex", "none"), "-1");
  EXPECT_EQ(ini.Read(kIni, "Form2", "Label1.Caption", "none"), "none");
}

// OK with a target that sees the passphrase and may refuse the settings.
class PassphraseTest : public SettingsFileTest, public SettingsTarget {
 protected:
  void ApplySettings(const SettingsDialog& settings) override {
    seen.push_back(settings.sharePassphrase);
    if (refuse) throw AppError("'soon' is not a valid integer value");
  }
  void ReportHotKey() override {}
  // Whether any file holds the text, as it is or in UTF-16.
  bool AnyFileHolds(const std::string& text) {
    std::string wide;
    for (const char c : text) wide += {c, '\0'};
    for (const auto& [path, bytes] : files.files) {
      if (bytes.find(text) != std::string::npos || bytes.find(wide) != std::string::npos) return true;
    }
    return false;
  }
  const std::string passphrase = "Tulip-Quartz-7731";
  std::vector<std::string> seen;
  bool refuse = false;
};

TEST_F(PassphraseTest, OkHandsThePassphraseOnThenForgetsItButARefusalKeepsIt) {
  SettingsDialog dialog(ini, &files);
  fake::FakeSettingsWindow window;
  dialog.set_window(&window);
  dialog.RestoreState(kIni);
  window.open = true;
  dialog.shareFolder = "C:\\Shared";
  dialog.sharePassphrase = passphrase;
  refuse = true;
  EXPECT_THROW(dialog.OnOk(*this), AppError);
  EXPECT_TRUE(window.open);
  EXPECT_EQ(dialog.Controls().sharePassphrase, passphrase);
  dialog.SaveState();  // the program ends with the dialog open
  EXPECT_FALSE(AnyFileHolds(passphrase));
  refuse = false;
  dialog.OnOk(*this);
  EXPECT_EQ(seen, (std::vector<std::string>{passphrase, passphrase}));
  EXPECT_FALSE(window.open);
  EXPECT_EQ(dialog.Controls().sharePassphrase, "");
  EXPECT_EQ(ini.Read(kIni, "Form2", "Edit1.Text", ""), "C:\\Shared");
  EXPECT_FALSE(AnyFileHolds(passphrase));
  dialog.set_window(nullptr);
}

// The settings dialog's OK and activation, on a running program.
class SettingsDialogTest : public testing::ProgramTest {
 protected:
  void SetUp() override { Start(); }
};

TEST_F(SettingsDialogTest, OkAppliesHotkeyPasteDelayAndAutosave) {
  desk.settingsDialog.RestoreState(kIni);
  desk.settingsDialog.hotkeyText = "F9";
  desk.settingsDialog.pasteDelayText = "5000";
  desk.settingsDialog.autosave = true;
  desk.settingsDialog.OnOk(*program);
  EXPECT_TRUE(desk.hotKeys.Press(0, 0x78));
  EXPECT_FALSE(desk.hotKeys.Press(kHotKeyControl | kHotKeyAlt, 0x28));
  EXPECT_EQ(program->state().PasteDelay, 5000);
  EXPECT_EQ(program->history().autosaveInterval(), 300000);
  // Saved at once: a tray program is seldom quit before the session ends.
  EXPECT_NE(desk.files.files[kIni].find("ComboBox1.Text=F9"), std::string::npos);
  desk.settingsDialog.autosave = false;
  desk.settingsDialog.OnOk(*program);
  EXPECT_EQ(program->history().autosaveInterval(), 0);
}

// A hotkey that cannot work is said once, marked on the tray icon until one
// works, and kept as typed.
TEST_F(SettingsDialogTest, HotkeyThatDoesNotWorkIsReportedAndShownOnTheTrayIcon) {
  desk.settingsDialog.RestoreState(kIni);
  desk.hotKeys.heldElsewhere.push_back({kHotKeyControl | kHotKeyAlt, 0x78});
  struct Case {
    std::string text, error, tip;
  };
  for (const Case& c :
       {Case{"Ctrl+Alt+F9",
             "The hotkey Ctrl+Alt+F9 could not be registered: another program is using it. The clip window cannot be "
             "called up until another hotkey is chosen in Settings.",
             "Solvane Clips: hotkey Ctrl+Alt+F9 not active"},
        Case{"Ctrl+Banana",
             "\"Ctrl+Banana\" is not a hotkey that Solvane Clips can use. The clip window cannot be called up until "
             "another hotkey is chosen in Settings.",
             "Solvane Clips: hotkey Ctrl+Banana not active"}}) {
    SCOPED_TRACE(c.text);
    desk.dialogs.errors.clear();
    desk.settingsDialog.hotkeyText = c.text;
    desk.settingsDialog.OnOk(*program);
    EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{c.error});
    EXPECT_EQ(program->trayIcon().Hint(), c.tip);
    EXPECT_NE(desk.files.files[kIni].find("ComboBox1.Text=" + c.text), std::string::npos);
  }
  // The other program lets go: the same text now works, and all is quiet.
  desk.hotKeys.heldElsewhere.clear();
  desk.dialogs.errors.clear();
  desk.settingsDialog.hotkeyText = "Ctrl+Alt+F9";
  desk.settingsDialog.OnOk(*program);
  EXPECT_TRUE(desk.dialogs.errors.empty());
  EXPECT_EQ(program->trayIcon().Hint(), "");
  EXPECT_TRUE(desk.hotKeys.Press(kHotKeyControl | kHotKeyAlt, 0x78));
}

TEST_F(SettingsDialogTest, BadPasteDelayKeepsTheOldValuesButTheNewHotkey) {
  desk.settingsDialog.RestoreState(kIni);
  program->state().PasteDelay = 100;
  program->history().SetAutosaveInterval(0);
  desk.settingsDialog.hotkeyText = "ctrl+shift+f5";
  desk.settingsDialog.pasteDelayText = "soon";
  desk.settingsDialog.autosave = true;
  program->HandleEvent([&] { desk.settingsDialog.OnOk(*program); });
  EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"'soon' is not a valid integer value"});
  EXPECT_EQ(program->hotkey().Key(), 0x6074);
  EXPECT_EQ(program->state().PasteDelay, 100);
  EXPECT_EQ(program->history().autosaveInterval(), 0);
  // The refused text stays in the dialog, but the close keeps the delay in
  // force: a start from the file must never meet it.
  desk.settingsDialog.SaveState();
  EXPECT_NE(desk.files.files[kIni].find("ComboBox2.Text=100\r\n"), std::string::npos);
  EXPECT_EQ(desk.files.files[kIni].find("soon"), std::string::npos);
}

TEST_F(SettingsDialogTest, SettingsFileThatCannotBeWrittenDoesNotSwallowTheHotkeyReport) {
  desk.settingsDialog.RestoreState(kIni);
  desk.hotKeys.heldElsewhere.push_back({kHotKeyControl | kHotKeyAlt, 0x78});
  desk.settingsDialog.hotkeyText = "Ctrl+Alt+F9";
  desk.ini.refuseAfter = desk.ini.writes;
  program->HandleEvent([&] { desk.settingsDialog.OnOk(*program); });
  ASSERT_EQ(desk.dialogs.errors.size(), 2u);
  EXPECT_NE(desk.dialogs.errors[0].find("The hotkey Ctrl+Alt+F9 could not be registered"), std::string::npos);
  EXPECT_EQ(desk.dialogs.errors[1], "Unable to write to " + kIni);
}

TEST_F(SettingsDialogTest, ActivationPutsThePointerOnOk) {
  desk.settingsDialog.OnActivate(desk.pointer);
  EXPECT_EQ(desk.pointer.x, 433 + 71 + 64);
  EXPECT_EQ(desk.pointer.y, 254 + 154 + 40);
}

}  // namespace
}  // namespace solvane
