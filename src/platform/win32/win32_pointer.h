#pragma once
#include <windows.h>

#include "platform/pointer.h"

namespace solvane::win32 {

class Win32Pointer : public Pointer {
 public:
  void MoveTo(int x, int y) override { SetCursorPos(x, y); }
  int X() override { return Position().x; }
  int Y() override { return Position().y; }
  int DesktopWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
  int DesktopHeight() override { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  static POINT Position() {
    POINT point{};
    GetCursorPos(&point);
    return point;
  }
};

}  // namespace solvane::win32
