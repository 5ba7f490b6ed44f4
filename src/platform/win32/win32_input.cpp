#include "platform/win32/win32_input.h"

namespace solvane::win32 {

WindowHandle Win32HotKeys::CreateHotKeyWindow(MessageHook hook) {
  HWND window = windows_.Create("TfisHotKeyWindow", 0,
                                [hook = std::move(hook)](HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
                                  hook(message);
                                  return DefWindowProcA(self, message, wParam, lParam);
                                });
  return reinterpret_cast<WindowHandle>(window);
}

void Win32HotKeys::DestroyHotKeyWindow(WindowHandle window) { windows_.Destroy(reinterpret_cast<HWND>(window)); }

bool Win32HotKeys::RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) {
  return ::RegisterHotKey(reinterpret_cast<HWND>(window), id, modifiers, virtualKey) != FALSE;
}

void Win32HotKeys::UnregisterHotKey(WindowHandle window, int id) {
  ::UnregisterHotKey(reinterpret_cast<HWND>(window), id);
}

std::string Win32KeyNames::PlatformKeyName(unsigned virtualKey) {
  const UINT scanCode = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
  char name[64] = {};
  const int length = GetKeyNameTextA(static_cast<LONG>(scanCode << 16), name, sizeof name);
  return length > 0 ? std::string(name, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace solvane::win32
