#pragma once
// Hotkeys, key names and synthesised keys through the Win32 API.

#include <windows.h>

#include "base/shortcut.h"
#include "platform/hotkey_api.h"
#include "platform/input.h"
#include "platform/win32/win32_message_window.h"

namespace solvane::win32 {

class Win32HotKeys : public HotKeyApi {
 public:
  explicit Win32HotKeys(HINSTANCE instance) : windows_(instance) {}
  WindowHandle CreateHotKeyWindow(MessageHook hook) override;
  void DestroyHotKeyWindow(WindowHandle window) override;
  bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(WindowHandle window, int id) override;

 private:
  MessageWindows windows_;
};

class Win32KeyNames : public KeyNames {
 public:
  std::string PlatformKeyName(unsigned virtualKey) override;
};

// Marks the keys the program synthesises (GetMessageExtraInfo), so that
// its own windows can tell them from the user's.
inline constexpr ULONG_PTR kOwnKeysStamp = 0x536F6C76;  // "Solv"

class Win32Input : public KeyboardInput {
 public:
  void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override {
    keybd_event(virtualKey, scanCode, flags, kOwnKeysStamp);
  }
  void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds)); }
};

}  // namespace solvane::win32
