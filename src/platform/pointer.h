#pragma once

namespace solvane {

// The mouse pointer and the size of the desktop it moves on.
class Pointer {
 public:
  virtual ~Pointer() = default;
  // Puts the pointer at the screen point; a refusal is not reported.
  virtual void MoveTo(int x, int y) = 0;
  // Where the pointer is now, in screen pixels.
  virtual int X() = 0;
  virtual int Y() = 0;
  // The primary screen's size in pixels.
  virtual int DesktopWidth() = 0;
  virtual int DesktopHeight() = 0;
};

}  // namespace solvane
