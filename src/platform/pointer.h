#pragma once

namespace solvane {

// The mouse pointer and the size of the desktop it moves on.
class Pointer {
 public:
  virtual ~Pointer() = default;
  virtual void MoveTo(int x, int y) = 0;
  virtual int X() = 0;
  virtual int Y() = 0;
  virtual int DesktopWidth() = 0;
  virtual int DesktopHeight() = 0;
};

}  // namespace solvane
