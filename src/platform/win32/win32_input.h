#pragma once
// Synthesised keys through the Win32 API.

#include <windows.h>

#include "platform/input.h"

namespace solvane::win32 {

// Marks the keys the program synthesises (GetMessageExtraInfo), so that
// its own windows can tell them from the user's.
inline constexpr ULONG_PTR kOwnKeysStamp = 0x536F6C76;  // "Solv"

class Win32Input : public KeyboardInput {
 public:
  void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, Stroke stroke) override {
    keybd_event(virtualKey, scanCode, stroke == Stroke::kUp ? KEYEVENTF_KEYUP : 0, kOwnKeysStamp);
  }
  void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds)); }
};

}  // namespace solvane::win32
