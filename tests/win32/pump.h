#pragma once
// What the adapter tests share.

#include <windows.h>

namespace solvane::win32 {

// Handles whatever the system sent or posted to this thread for a while.
inline void Pump(DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(5);
  }
}

}  // namespace solvane::win32
