#pragma once
// A yellow tooltip for the label column's preview: shown at once (the hint
// pause is 1 ms) below the pointer, gone after 30 seconds or when switched
// off. It stays inside the work area of the pointer's monitor: above the
// pointer or moved when it does not fit below, its lines cut with "..." when
// too wide or too many.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

class HintWindow {
 public:
  // `font` is the list font at `dpi`, which the margins follow too.
  HintWindow(HINSTANCE instance, HFONT font, int dpi);
  ~HintWindow();
  HintWindow(const HintWindow&) = delete;
  HintWindow& operator=(const HintWindow&) = delete;

  // `text` in UTF-8.
  void Show(const std::string& text);
  void Hide();
  // The list font at another DPI; for the next Show.
  void SetFont(HFONT font, int dpi) {
    font_ = font;
    dpi_ = dpi;
  }
  bool visible() const { return IsWindowVisible(window_) != FALSE; }
  HWND handle() const { return window_.get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HFONT font_;  // not owned: the caller's, which outlives this
  int dpi_;
  // Declared before the window that paints with it, so it is deleted after.
  OwnedBrush yellow_;
  OwnedWindow window_;
  // What is shown, cut to the work area: the lines, each character's
  // advance, and the font's line height.
  std::vector<std::wstring> lines_;
  std::vector<std::vector<INT>> advances_;
  int lineHeight_ = 1;
};

}  // namespace solvane::win32
