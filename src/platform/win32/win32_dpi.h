#pragma once
// The DPI a window is laid out at, and what the system sizes by it. The
// per-screen calls exist from Windows 10 on; before that the system DPI
// stands for every screen.

#include <windows.h>

#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

// The window's screen's DPI (GetDpiForWindow), else the system's.
int WindowDpi(HWND window);
// The system DPI: the primary screen's, which the notification area uses.
int SystemDpi();
// A system metric (SM_CXSMICON, ...) at that DPI.
int SystemMetricForDpi(int metric, int dpi);
// The face at `height` (as CreateFont takes it, already at the DPI wanted):
// asked for at its size rather than a bitmap stretched.
OwnedFont MakeFont(const char* face, int height, int weight = FW_NORMAL);

}  // namespace solvane::win32
