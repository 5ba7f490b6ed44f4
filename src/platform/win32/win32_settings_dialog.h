#pragma once
// The settings dialog's Win32 side: a fixed-size window with a caption and
// no title-bar buttons, on top of other windows, holding the five settings,
// the flat OK button and, below it, the shared history's folder and
// passphrase. The values live in the dialog's logic; the
// controls show them and write every change back.

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/button_events.h"
#include "platform/event_errors.h"
#include "platform/components/window_layout.h"
#include "platform/pointer.h"
#include "platform/settings_dialog_events.h"
#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_hint.h"
#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_dialogs.h"

namespace solvane::win32 {

class Win32SettingsDialog : public SettingsWindow {
 public:
  Win32SettingsDialog(HINSTANCE instance, SettingsDialogEvents& dialog, Pointer& pointer);
  ~Win32SettingsDialog() override;
  Win32SettingsDialog(const Win32SettingsDialog&) = delete;
  Win32SettingsDialog& operator=(const Win32SettingsDialog&) = delete;

  // Owned by `owner` (the application's hidden window), so the dialog has
  // no task-bar button of its own; while it is open, `dialogs` puts their
  // boxes on it; `hint` shows a check box's hint.
  bool Create(HWND owner, Win32Dialogs& dialogs, HintWindow& hint);
  // The OK button's drawing surface, and the object that draws it and
  // takes its mouse; messages reach it from here on.
  Canvas& okCanvas() { return *canvas_; }
  void AttachOkButton(ButtonEvents* button) { ok_ = button; }
  // Where a failure of OK is shown; without it OK only reads the controls.
  void Attach(EventErrors* errors) { errors_ = errors; }
  // The OK button's click: the controls' values, then the dialog's OK.
  void OnOkClick();

  void ShowModal() override;
  bool IsOpen() const override { return open_; }
  void BringToFront() override;
  void Close() override;
  Placement Bounds() const override;
  int Dpi() const override { return layout_.dpi; }
  // Where the controls lie now; it changes with the DPI.
  const SettingsLayout& layout() const { return layout_; }
  void SetBounds(const Placement& bounds) override;

  HWND handle() const { return window_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK CheckBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool RegisterClasses();
  bool CreateControls();
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleButton(UINT message, WPARAM wParam, LPARAM lParam);
  void OnControlChange(WPARAM wParam);
  void ShowValues();
  void ReadValues();
  void RunMessageLoop();
  void PaintBanner(HDC dc);
  HWND Child(const char* className, const char* text, DWORD style, int id);
  // A sunken one-line field for any text, a child like the others.
  HWND TextField(DWORD style, int id);
  // The system's folder dialog; the folder chosen goes into the field.
  void BrowseForFolder();
  // Every control placed at `dpi`, in the fonts of that size.
  void LayOut(int dpi);

  HINSTANCE instance_;
  SettingsDialogEvents& dialog_;
  Pointer& pointer_;
  EventErrors* errors_ = nullptr;
  ButtonEvents* ok_ = nullptr;
  Win32Dialogs* dialogs_ = nullptr;
  HintWindow* hint_ = nullptr;
  WNDPROC checkBoxProc_ = nullptr;  // the BUTTON class's own procedure
  const char* hinted_ = nullptr;    // the hint of the one check box that has one
  bool hinting_ = false;            // that hint is up
  // Declared before the window, so they outlive it.
  OwnedFont font_;        // "MS Sans Serif" 8 point
  OwnedFont buttonFont_;  // "Arial" 8 point
  OwnedBrush background_;
  std::unique_ptr<Win32WindowCanvas> canvas_;
  OwnedWindow window_;
  HWND button_ = nullptr;       // okButton, a child of window_, destroyed with it
  std::vector<HWND> controls_;  // the others, children of window_ too, in the order of the layout
  SettingsLayout layout_;
  bool open_ = false;
  bool filling_ = false;  // the fields are being set from the values
  bool placed_ = false;
  bool tracking_ = false;  // the mouse is over the button
  bool pressed_ = false;
};

}  // namespace solvane::win32
