#include "platform/win32/win32_screens.h"

namespace solvane::win32 {

void CentreOnScreen(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<Rect> WorkAreas() {
  std::vector<Rect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM found) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(monitor, &info)) {
          const RECT& r = info.rcWork;
          reinterpret_cast<std::vector<Rect>*>(found)->push_back(Rect{r.left, r.top, r.right, r.bottom});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void KeepOnScreen(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return;
  const Rect now{r.left, r.top, r.right, r.bottom};
  const Rect placed = solvane::KeepOnScreen(now, WorkAreas());
  if (placed == now) return;
  SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace solvane::win32
