#pragma once
// The plain values the desktop interfaces pass: handles, points and
// rectangles, the mouse buttons and the shift state.

#include <cstdint>

namespace solvane {

using WindowHandle = std::uintptr_t;  // an HWND on Windows; 0 is none
using IconHandle = std::uintptr_t;    // an HICON on Windows; 0 is no picture

// A pixel on the screen, or in a window's client area.
struct Point {
  int x = 0, y = 0;
};

// Pixels; right and bottom are one past the last pixel, as in a RECT.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// A form's place and size as the settings file keeps them (Top, Left,
// Width, Height): any values the file holds, so a place far out has no
// right edge to overflow, as a Rect's would.
struct Placement {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Placement&) const = default;
};

enum class MouseButton { Left, Right, Middle };
// Shift state bits as the events report them: keys held, buttons down, and
// whether the press is the second of a double click.
inline constexpr unsigned kShiftShift = 1, kShiftCtrl = 2, kShiftAlt = 4, kShiftLeft = 8, kShiftRight = 16,
                          kShiftMiddle = 32, kShiftDouble = 64;

}  // namespace solvane
