#pragma once
// The settings dialog between its logic and its window: the window shows
// the controls' values and reports every change and the OK button; the
// logic moves the window and reads its place.

#include <string>

#include "platform/form_geometry.h"

namespace solvane {

class Pointer;

// The OK button's place on the dialog.
inline constexpr int kSettingsOkLeft = 71, kSettingsOkTop = 154;

// The values of the dialog's controls.
struct SettingsControls {
  bool autosave = false;      // "Auto save (upon caching) every 5 minutes."
  bool promptClear = false;   // "Prompt to clear clips."
  bool promptQuit = false;    // "Prompt to quit."
  std::string hotkeyText;     // hotkey
  std::string pasteDelayText; // paste delay, ms
};

// The dialog's window as the logic needs it.
class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  // Shows the dialog and returns when it is closed.
  virtual void ShowModal() = 0;
  // Between ShowModal and the Close that ends it.
  virtual bool IsOpen() const = 0;
  // The open dialog in front of other windows, active.
  virtual void BringToFront() = 0;
  virtual void Close() = 0;
  virtual FormGeometry Bounds() const = 0;
  virtual void SetBounds(const FormGeometry& bounds) = 0;
};

class SettingsDialogEvents {
 public:
  virtual SettingsControls Controls() const = 0;
  virtual void SetControls(const SettingsControls& controls) = 0;
  // The window that shows the dialog, from its making to its end.
  virtual void set_window(SettingsWindow* window) = 0;
  // Each activation; the dialog may move the pointer.
  virtual void OnActivate(Pointer& pointer) = 0;
  // OK; may throw, and the dialog then stays open.
  virtual void OnOk() = 0;

 protected:
  ~SettingsDialogEvents() = default;
};

}  // namespace solvane
