#include "platform/fake/fake_hotkey_api.h"

#include <cstdio>

namespace solvane::fake {

WindowHandle FakeHotKeys::CreateHotKeyWindow(PressHandler onPress) {
  const WindowHandle window = 0x500 + windows.size();
  windows[window] = std::move(onPress);
  return window;
}

void FakeHotKeys::DestroyHotKeyWindow(WindowHandle window) { windows.erase(window); }

bool FakeHotKeys::RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) {
  char text[48];
  std::snprintf(text, sizeof text, "register %d %u 0x%02X", id, modifiers, virtualKey);
  calls.push_back(text);
  for (const auto& held : heldElsewhere) {
    if (held.first == modifiers && held.second == virtualKey) return false;
  }
  active.push_back({window, id, modifiers, virtualKey});
  return true;
}

void FakeHotKeys::UnregisterHotKey(WindowHandle window, int id) {
  calls.push_back("unregister " + std::to_string(id));
  for (auto it = active.begin(); it != active.end(); ++it) {
    if (it->window == window && it->id == id) {
      active.erase(it);
      return;
    }
  }
}

bool FakeHotKeys::Press(unsigned modifiers, unsigned virtualKey) {
  for (const auto& registration : active) {
    if (registration.modifiers == modifiers && registration.virtualKey == virtualKey) {
      // Copy: the handler may change the registrations.
      const PressHandler onPress = windows[registration.window];
      onPress();
      return true;
    }
  }
  return false;
}

}  // namespace solvane::fake
