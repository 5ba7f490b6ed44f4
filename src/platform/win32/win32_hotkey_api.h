#pragma once
#include <windows.h>

#include "platform/hotkey_api.h"
#include "platform/win32/win32_message_window.h"

namespace solvane::win32 {

// Hotkeys registered for hidden windows of class "TfisHotKeyWindow".
class Win32HotKeys : public HotKeyApi {
 public:
  explicit Win32HotKeys(HINSTANCE instance) : windows_(instance) {}
  WindowHandle CreateHotKeyWindow(PressHandler onPress) override;
  void DestroyHotKeyWindow(WindowHandle window) override;
  bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(WindowHandle window, int id) override;

 private:
  MessageWindows windows_;
};

}  // namespace solvane::win32
