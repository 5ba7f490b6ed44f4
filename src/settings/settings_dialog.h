#pragma once
// SettingsDialog: the settings dialog. Its controls are the settings store: the clip
// window reads their values at the moment it needs them, and the form-state
// persistence keeps them in the settings file between runs.

#include <string>
#include <vector>

#include "platform/settings_dialog_events.h"
#include "settings/persistent_form.h"
#include "settings/settings_table.h"

namespace solvane {

class Pointer;
class SettingsDialog;

// What OK applies the settings to (the clip window), so that the dialog
// needs nothing of the window above it.
class SettingsTarget {
 public:
  // Hotkey, paste delay, autosave and the shared history's folder and
  // passphrase; throws when the paste delay is no whole number.
  virtual void ApplySettings(const SettingsDialog& settings) = 0;
  // Says, once, which hotkey could not be made to work.
  virtual void ReportHotKey() = 0;

 protected:
  ~SettingsTarget() = default;
};

// The controls' values are its own (autosave, hotkeyText, ...), each
// starting at its default in the settings table.
class SettingsDialog : public PersistentForm, public SettingsDialogEvents, public SettingsControls {
 public:
  explicit SettingsDialog(IniFiles& ini, FileSystem* files = nullptr);

  static constexpr const char* kDefaultPasteDelay = solvane::kDefaultPasteDelay;
  // The shared folder (UTF-8) as a restore would read it from the file,
  // without one.
  static std::string StoredShareFolder(IniFiles& ini, const std::string& settingsFile);

  const SettingsTable& Table() const override { return kSettingsTable; }
  // The controls as the window shows and changes them.
  SettingsControls Controls() const override { return *this; }
  void SetControls(const SettingsControls& controls) override { SettingsControls::operator=(controls); }

  // The window; none until the platform makes one (then geometry lives
  // there instead of here).
  void set_window(SettingsWindow* window) override { window_ = window; }
  SettingsWindow* window() const { return window_; }
  // What the window's OK button applies the settings to.
  void set_target(SettingsTarget* target) { target_ = target; }

  // Each activation puts the pointer on the OK button.
  void OnActivate(Pointer& pointer) override;
  // OK: applies the hotkey, the paste delay, the autosave timer and the
  // sharing to the clip window, forgets the passphrase, closes and saves
  // the settings file. A paste delay that is not a whole number throws
  // after the hotkey is applied; the dialog then stays open, the passphrase
  // kept, and nothing is saved. A save that fails throws once the hotkey
  // has been reported.
  void OnOk(SettingsTarget& target);
  // The same for the window's OK button, on the target set; none, nothing.
  void OnOk() override;

 protected:
  std::vector<PersistentComponent> Components() override;
  Placement Geometry() const override;
  void SetTop(int top) override;
  void SetLeft(int left) override;
  void SetWidth(int width) override;
  void SetHeight(int height) override;

 private:
  Placement Current() const { return window_ ? window_->Bounds() : designed_; }
  PublishedProperty PasteDelayProperty(const char* name);
  void Apply(const Placement& bounds);

  Placement designed_{433, 254, 0, 0};  // sized as the layout at 96 DPI
  // The last paste delay that was a whole number (as restored, or the
  // default): a text that is not one is refused by OK and never saved.
  std::string acceptedPasteDelay_ = kDefaultPasteDelay;
  SettingsWindow* window_ = nullptr;
  SettingsTarget* target_ = nullptr;
};

}  // namespace solvane
