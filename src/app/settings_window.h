#pragma once
// The settings dialog's Win32 side: a fixed-size window with a caption and
// no title-bar buttons, on top of other windows, holding the five settings
// and the flat OK button. The values live in SettingsDialog; the controls show them
// and write every change back.

#include <windows.h>

#include <memory>

#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_hint.h"
#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_system.h"
#include "settings/settings_dialog.h"
#include "ui/flat_button.h"
#include "ui/clip_window.h"

namespace solvane::app {

class SettingsWindow : public solvane::SettingsWindow {
 public:
  SettingsWindow(HINSTANCE instance, SettingsDialog& settingsDialog, Pointer& pointer);
  ~SettingsWindow() override;
  SettingsWindow(const SettingsWindow&) = delete;
  SettingsWindow& operator=(const SettingsWindow&) = delete;

  // Owned by `owner` (the application's hidden window), so the dialog has
  // no task-bar button of its own; while it is open, `dialogs` puts their
  // boxes on it; `hint` shows the autosave check box's hint.
  bool Create(HWND owner, win32::Win32Dialogs& dialogs, win32::HintWindow& hint);
  // OK applies the settings to this clip window.
  void Attach(ClipWindow* target) { clipWindow_ = target; }

  void ShowModal() override;
  void Close() override;
  FormGeometry Bounds() const override;
  void SetBounds(const FormGeometry& bounds) override;

  HWND handle() const { return window_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleButton(UINT message, WPARAM wParam, LPARAM lParam);
  void ShowValues();
  void ReadValues();
  void PaintBanner(HDC dc);
  HWND Child(const char* className, const char* text, DWORD style, int id, int x, int y, int w, int h);

  HINSTANCE instance_;
  SettingsDialog& settings_;
  Pointer& pointer_;
  ClipWindow* clipWindow_ = nullptr;
  win32::Win32Dialogs* dialogs_ = nullptr;
  win32::HintWindow* hint_ = nullptr;
  WNDPROC checkBoxProc_ = nullptr;  // the BUTTON class's own procedure
  bool hinting_ = false;  // the autosave hint is up
  // Declared before the window, so they outlive it.
  win32::OwnedFont font_;        // "MS Sans Serif" -11
  win32::OwnedFont buttonFont_;  // "Arial" -11
  win32::OwnedBrush background_;
  win32::OwnedWindow window_;
  HWND button_ = nullptr;  // okButton, a child of window_, destroyed with it
  std::unique_ptr<win32::Win32WindowCanvas> canvas_;
  std::unique_ptr<FlatButton> ok_;
  bool open_ = false;
  bool placed_ = false;
  bool tracking_ = false;  // the mouse is over the button
  bool pressed_ = false;
};

}  // namespace solvane::app
