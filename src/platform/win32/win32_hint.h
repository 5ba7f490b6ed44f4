#pragma once
// A yellow tooltip for the label column's preview: shown at once (the hint
// pause is 1 ms) below the pointer, gone after 30 seconds or when switched
// off.

#include <windows.h>

#include <string>

namespace solvane::win32 {

class HintWindow {
 public:
  HintWindow(HINSTANCE instance, HFONT font);
  ~HintWindow();
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;

  void Show(const std::string& text);
  void Hide();
  bool visible() const { return IsWindowVisible(window_) != FALSE; }
  HWND handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;  // owned
  HFONT font_;             // not owned
  HBRUSH yellow_;          // owned
  std::string text_;
};

}  // namespace solvane::win32
