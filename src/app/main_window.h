#pragma once
// The clip window's Win32 side: the borderless top-level window and its
// title list. It turns messages into calls of TForm1's handlers.

#include <windows.h>

#include "ui/form1.h"

namespace solvane::app {

class MainWindow {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // False when the window could not be made.
  bool Create(HFONT listFont);
  // From here on, messages reach the form's handlers.
  void Attach(TForm1* form) { form_ = form; }

  HWND handle() const { return window_; }
  HWND list() const { return list_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(unsigned id);

  HINSTANCE instance_;
  HWND window_ = nullptr;  // owned; destroyed with this object
  HWND list_ = nullptr;    // child of window_
  TForm1* form_ = nullptr;
};

}  // namespace solvane::app
