#pragma once
#include "platform/pointer.h"

namespace solvane::fake {

// The pointer where a test puts it, on a desktop of a set size.
class FakePointer : public Pointer {
 public:
  void MoveTo(int px, int py) override {
    x = px;
    y = py;
  }
  int X() override { return x; }
  int Y() override { return y; }
  int DesktopWidth() override { return width; }
  int DesktopHeight() override { return height; }
  int x = 0, y = 0;
  int width = 1281, height = 801;
};

}  // namespace solvane::fake
