#include "platform/win32/win32_dpi.h"

#include "platform/dpi.h"

namespace solvane::win32 {

namespace {
// NOTE: looked up, not imported: an exe that imports them does not start
// on Windows 7 or 8.1.
template <typename Function>
Function User32Function(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}
}  // namespace

int SystemDpi() {
  WindowDc screen(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const int dpi = getDpiForWindow != nullptr && window != nullptr ? static_cast<int>(getDpiForWindow(window)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

int SystemMetricForDpi(int metric, int dpi) {
  using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
  static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(metric, static_cast<UINT>(dpi));
  // The system's size at its own DPI, scaled to the one asked for.
  return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

OwnedFont MakeFont(const char* face, int height, int weight) {
  return OwnedFont(CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
}

}  // namespace solvane::win32
