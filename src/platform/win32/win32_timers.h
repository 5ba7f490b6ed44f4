#pragma once
#include <windows.h>

#include "platform/timers.h"

namespace solvane::win32 {

// Window timers of one window; the timer number is the timer id.
class Win32Timers : public Timers {
 public:
  explicit Win32Timers(HWND window) : window_(window) {}
  void SetInterval(int timer, int milliseconds) override;

 private:
  HWND window_;
};

}  // namespace solvane::win32
