#include "platform/win32/win32_timers.h"

namespace solvane::win32 {

void Win32Timers::SetInterval(int timer, int milliseconds) {
  if (milliseconds > 0) {
    SetTimer(window_, static_cast<UINT_PTR>(timer), static_cast<UINT>(milliseconds), nullptr);
  } else {
    KillTimer(window_, static_cast<UINT_PTR>(timer));
  }
}

}  // namespace solvane::win32
