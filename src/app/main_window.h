#pragma once
// The clip window's Win32 side: the application's hidden owner window, the
// borderless clip window, its title list and label column. It turns
// messages into calls of ClipWindow's handlers.

#include <windows.h>

#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_title_list.h"
#include "platform/win32/win32_tray.h"
#include "ui/clip_window.h"

namespace solvane::app {

class MainWindow {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // False when the windows could not be made.
  bool Create(HFONT listFont);
  // From here on, messages reach the form's handlers.
  void Attach(ClipWindow* form) { form_ = form; }
  // The list object that draws the title lines.
  void AttachList(win32::Win32TitleList* titles) { titles_ = titles; }
  // The picture drawn at the start of the title (a 16 x 16 icon).
  void SetTitleIcon(HICON icon) { titleIcon_ = icon; }
  // Shows the window for the first time, which activates it.
  void ShowAtStart();
  // Key preview: every key pressed anywhere in the clip window reaches the
  // form before the control that has the focus.
  void PreviewKey(const MSG& message);

  // The tray menu, in its order.
  static win32::OwnedMenu CreateTrayMenu(const win32::MenuPictures& pictures);

  HWND handle() const { return window_.get(); }
  HWND owner() const { return owner_.get(); }
  HWND list() const { return list_; }
  HWND labels() const { return labels_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The lists' own procedures, hooked for their mouse releases.
  static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  // The option buttons answer BM_GETCHECK with the form's down state, so
  // other programs (and tests) can read it as from any two-state button.
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(unsigned id);
  // Runs a handler of the form, then shows the option buttons' states.
  template <typename Handler>
  void Run(Handler&& handler) {
    if (form_ == nullptr) return;
    form_->HandleEvent(handler);
    SyncButtons();
  }
  void SyncButtons();
  // The title picture: a small clipboard and the caption in blue letters.
  void PaintTitlePicture(HDC dc);
  void DrawButton(const DRAWITEMSTRUCT& item);
  void OnButton(int id);
  HWND MakeButton(int id, const char* caption, int left, int width, HFONT font);

  HINSTANCE instance_;
  // Members go in reverse order: the windows first, then the font and
  // brushes they draw with.
  win32::OwnedFont buttonFont_;
  win32::OwnedBrush panelBrush_;
  win32::OwnedBrush listBrush_;
  win32::OwnedWindow owner_;   // keeps the program off the task bar
  win32::OwnedWindow window_;  // owned by owner_ in the window sense: goes before it
  HWND list_ = nullptr;        // children of window_, destroyed with it
  HWND labels_ = nullptr;
  HWND runToTopButton_ = nullptr, crLfButton_ = nullptr, crLfLfButton_ = nullptr, hideButton_ = nullptr;
  WNDPROC listProc_ = nullptr;    // the LISTBOX class's procedure
  WNDPROC buttonProc_ = nullptr;  // the BUTTON class's procedure
  ClipWindow* form_ = nullptr;
  win32::Win32TitleList* titles_ = nullptr;
  // A press on the list selects a line before its mouse-down and check
  // toggle are handled; the click that the selection raises waits for them.
  bool dragOnImage_ = false;
  HICON titleIcon_ = nullptr;  // not owned
  bool pressing_ = false;
  bool clickPending_ = false;
  bool ListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

}  // namespace solvane::app
