#pragma once
// A push button the program draws itself: what its window reports.

#include "platform/desktop_types.h"

namespace solvane {

// Each is called on the UI thread, x and y in the button's own pixels; none
// may throw into the window procedure.
class ButtonEvents {
 public:
  // The system's repaint.
  virtual void Paint() = 0;
  // The pointer came onto the button, or left it.
  virtual void MouseEnter() = 0;
  virtual void MouseLeave() = 0;
  // A button of the mouse went down on the button.
  virtual void MouseDown(MouseButton button, unsigned shift, int x, int y) = 0;
  // `stillOver`: the pointer is over the button at the release.
  virtual void MouseUp(MouseButton button, unsigned shift, int x, int y, bool stillOver) = 0;
  // A press and release of the left button both on the button, before its MouseUp.
  virtual void Click() = 0;
  // The button's window has a new size (its screen's DPI changed).
  virtual void Resize(int width, int height) = 0;

 protected:
  ~ButtonEvents() = default;
};

}  // namespace solvane
