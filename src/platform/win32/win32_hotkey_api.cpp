#include "platform/win32/win32_hotkey_api.h"

namespace solvane::win32 {

WindowHandle Win32HotKeys::CreateHotKeyWindow(PressHandler onPress) {
  HWND window = windows_.Create("TfisHotKeyWindow", 0,
                                [onPress = std::move(onPress)](HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
                                  if (message == WM_HOTKEY) onPress();
                                  return DefWindowProcA(self, message, wParam, lParam);
                                });
  return reinterpret_cast<WindowHandle>(window);
}

void Win32HotKeys::DestroyHotKeyWindow(WindowHandle window) { windows_.Destroy(reinterpret_cast<HWND>(window)); }

bool Win32HotKeys::RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) {
  UINT systemModifiers = 0;
  if (modifiers & kHotKeyAlt) systemModifiers |= MOD_ALT;
  if (modifiers & kHotKeyControl) systemModifiers |= MOD_CONTROL;
  if (modifiers & kHotKeyShift) systemModifiers |= MOD_SHIFT;
  return ::RegisterHotKey(reinterpret_cast<HWND>(window), id, systemModifiers, virtualKey) != FALSE;
}

void Win32HotKeys::UnregisterHotKey(WindowHandle window, int id) {
  ::UnregisterHotKey(reinterpret_cast<HWND>(window), id);
}

}  // namespace solvane::win32
