#pragma once
// The monitors' work areas, and top-level windows kept on them.

#include <windows.h>

#include <vector>

#include "platform/components/hint_placement.h"

namespace solvane::win32 {

// Moves the window to the middle of the primary screen, size and z-order
// kept, without activating it.
void CentreOnScreen(HWND window);
// The work areas of the monitors attached now.
std::vector<Rect> WorkAreas();
// A window that lies on none of them is moved onto the nearest, without
// activating it (see solvane::KeepOnScreen).
void KeepOnScreen(HWND window);

}  // namespace solvane::win32
