#include "settings/settings_table.h"

namespace solvane {

namespace {

constexpr const char* kHotkeyChoices[] = {"Ctrl+Alt+Down",
                                          "Ctrl+Shift+Down",
                                          "Ctrl+Shift+Up",
                                          "Ctrl+Shift+Left",
                                          "Ctrl+Shift+Right",
                                          "F2",
                                          "F3",
                                          "F4",
                                          "F5",
                                          "F6",
                                          "F7",
                                          "F8",
                                          "F9",
                                          "F10",
                                          "F11",
                                          "F12"};
constexpr const char* kPasteDelayChoices[] = {"50", "100", "250", "500", "1000", "2000", "3000", "4000", "5000"};

// In the settings file's order. The control, property and label names are
// the file's format: never rename them.
constexpr SettingRow kRows[] = {
    {.setting = Setting::kHotkey,
     .kind = SettingKind::kDropDown,
     .control = "ComboBox1",
     .property = "Text",
     .caption = "Solvane Clip HotKey:",
     .label = "Label1",
     .defaultValue = "Ctrl+Alt+Down",
     .choices = kHotkeyChoices,
     .hint = nullptr},
    {.setting = Setting::kPasteDelay,
     .kind = SettingKind::kDropDown,
     .control = "ComboBox2",
     .property = "Text",
     .caption = "Paste Delay:",
     .label = "Label2",
     .defaultValue = kDefaultPasteDelay,
     .choices = kPasteDelayChoices,
     .hint = nullptr},
    {.setting = Setting::kAutosave,
     .kind = SettingKind::kCheckBox,
     .control = "CheckBox1",
     .property = "Checked",
     .caption = "Auto save (upon caching) every 5 minutes.",
     .label = nullptr,
     .defaultValue = "FALSE",
     .choices = {},
     .hint = "No saving is performed when Solvane Clips is idle after an auto save."},
    {.setting = Setting::kPromptClear,
     .kind = SettingKind::kCheckBox,
     .control = "CheckBox3",
     .property = "Checked",
     .caption = "Prompt to clear clips.",
     .label = nullptr,
     .defaultValue = "FALSE",
     .choices = {},
     .hint = nullptr},
    {.setting = Setting::kPromptQuit,
     .kind = SettingKind::kCheckBox,
     .control = "CheckBox4",
     .property = "Checked",
     .caption = "Prompt to quit.",
     .label = nullptr,
     .defaultValue = "FALSE",
     .choices = {},
     .hint = nullptr},
    // Came later than the others: its key follows theirs in the file.
    {.setting = Setting::kShareFolder,
     .kind = SettingKind::kFolder,
     .control = "Edit1",
     .property = "Text",
     .caption = "Share the history through this folder",
     .label = "Label3",
     .defaultValue = "",
     .choices = {},
     .hint = nullptr},
};

}  // namespace

constinit const SettingsTable kSettingsTable = {
    .section = "Form2",  // file format: never rename
    .rows = kRows,
    .bannerTitle = "Solvane Clips",
    .bannerMaker = "Vardell Solvane Software",
    .okName = "EncartaButton1",
    .okCaption = "OK",
    .browseCaption = "...",
    .passphraseLabel = "Passphrase (typed once on each machine)",
};

}  // namespace solvane
