#pragma once
// The settings dialog between its logic and its window: the window shows
// the controls' values and reports every change and the OK button; the
// logic moves the window and reads its place.

#include <span>
#include <stdexcept>
#include <string>

#include "platform/desktop_types.h"

namespace solvane {

class Pointer;

// The OK button's place on the dialog.
inline constexpr int kSettingsOkLeft = 71, kSettingsOkTop = 154;

// The dialog's settings that the settings file keeps.
enum class Setting { kHotkey, kPasteDelay, kAutosave, kPromptClear, kPromptQuit, kShareFolder };

// A check box, a drop-down whose text the user may also type, or a folder's
// path typed into a field or chosen with the browse button beside it.
enum class SettingKind { kCheckBox, kDropDown, kFolder };

// One setting: how the settings file keeps it and how the dialog shows it.
struct SettingRow {
  Setting setting;
  SettingKind kind;
  // The control's name and the property kept: the settings file's key is
  // "control.property" ("CheckBox4.Checked"). File format: never rename.
  const char* control;
  const char* property;
  // A check box's text, or the text of the label above a drop-down or a
  // folder's field.
  const char* caption;
  // That label by its name in the settings file's terms ("Label1"); none
  // for a check box. Never rename.
  const char* label;
  // The value as the file holds it before anything is changed: "TRUE" or
  // "FALSE" for a check box.
  const char* defaultValue;
  // A drop-down's ready choices.
  std::span<const char* const> choices;
  // What a hint says while the pointer is on the control; none for most.
  const char* hint;
};

// The dialog's settings in the settings file's order, and its other texts.
struct SettingsTable {
  const char* section;  // the settings file's section. File format: never rename.
  std::span<const SettingRow> rows;
  const char* bannerTitle;  // the banner's two lines
  const char* bannerMaker;
  const char* okName;  // the OK button's name in the settings file's terms ("EncartaButton1")
  const char* okCaption;
  const char* browseCaption;    // the button beside the folder's field
  const char* passphraseLabel;  // above the passphrase's field

  // The row of a setting; every setting has one.
  const SettingRow& Row(Setting setting) const {
    for (const SettingRow& row : rows) {
      if (row.setting == setting) return row;
    }
    throw std::logic_error("a setting without a row");
  }
};

// The values of the dialog's controls.
struct SettingsControls {
  bool autosave = false;
  bool promptClear = false;
  bool promptQuit = false;
  std::string hotkeyText;
  std::string pasteDelayText;  // milliseconds
  // In UTF-8, as the dialog's fields hold them.
  std::string shareFolder;      // the history shared through it; empty: not shared
  std::string sharePassphrase;  // typed to open the shared folder; never stored

  // A check box's value, or a drop-down's or folder's text, by its setting;
  // asking a check box for its text (or the other way round) is a logic
  // error.
  bool& Checked(Setting setting) {
    switch (setting) {
      case Setting::kAutosave:
        return autosave;
      case Setting::kPromptClear:
        return promptClear;
      case Setting::kPromptQuit:
        return promptQuit;
      default:
        throw std::logic_error("not a check box");
    }
  }
  std::string& Text(Setting setting) {
    switch (setting) {
      case Setting::kHotkey:
        return hotkeyText;
      case Setting::kPasteDelay:
        return pasteDelayText;
      case Setting::kShareFolder:
        return shareFolder;
      default:
        throw std::logic_error("not a drop-down or a folder");
    }
  }
};

// The dialog's window as the logic needs it.
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  // Shows the dialog with the controls' values and returns when it is
  // closed; one already open only comes to the front.
  virtual void ShowModal() = 0;
  // Between ShowModal and the Close that ends it.
  virtual bool IsOpen() const = 0;
  // The open dialog in front of other windows, active.
  virtual void BringToFront() = 0;
  // Hides the dialog, which ends its modal run.
  virtual void Close() = 0;
  // Where the dialog is on the screen.
  virtual Placement Bounds() const = 0;
  // The DPI the dialog is laid out at, its screen's.
  virtual int Dpi() const = 0;
  // Moves the dialog's top-left corner there (its size is fixed); a place
  // that lies on no screen is not taken.
  virtual void SetBounds(const Placement& bounds) = 0;
};

class SettingsDialogEvents {
 public:
  // The settings and texts the window shows; they outlive the window.
  virtual const SettingsTable& Table() const = 0;
  // The values the controls show now; never fails.
  virtual SettingsControls Controls() const = 0;
  // Every change the user makes in a control, at once; never fails.
  virtual void SetControls(const SettingsControls& controls) = 0;
  // The window that shows the dialog, from its making to its end (then null).
  virtual void set_window(SettingsWindow* window) = 0;
  // Each activation; the dialog may move the pointer.
  virtual void OnActivate(Pointer& pointer) = 0;
  // OK; may throw, and the dialog then stays open.
  virtual void OnOk() = 0;

 protected:
  ~SettingsDialogEvents() = default;
};

}  // namespace solvane
