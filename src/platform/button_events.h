#pragma once
// A push button the program draws itself: what its window reports.

#include "platform/tray_icon.h"  // MouseButton, shift bits

namespace solvane {

class ButtonEvents {
 public:
  // The system's repaint.
  virtual void Paint() = 0;
  virtual void MouseEnter() = 0;
  virtual void MouseLeave() = 0;
  virtual void MouseDown(MouseButton button, unsigned shift, int x, int y) = 0;
  // `stillOver`: the pointer is over the button at the release.
  virtual void MouseUp(MouseButton button, unsigned shift, int x, int y, bool stillOver) = 0;
  virtual void Click() = 0;

 protected:
  ~ButtonEvents() = default;
};

}  // namespace solvane
