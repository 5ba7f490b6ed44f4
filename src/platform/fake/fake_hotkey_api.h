#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/hotkey_api.h"

namespace solvane::fake {

// Hotkey registrations; a combination can be held by "another program".
class FakeHotKeys : public HotKeyApi {
 public:
  WindowHandle CreateHotKeyWindow(PressHandler onPress) override;
  void DestroyHotKeyWindow(WindowHandle window) override;
  bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(WindowHandle window, int id) override;
  // The user presses a combination: true when a registration took it.
  bool Press(unsigned modifiers, unsigned virtualKey);

  struct Registration {
    WindowHandle window;
    int id;
    unsigned modifiers, virtualKey;
  };
  std::vector<Registration> active;
  std::vector<std::string> calls;  // "register 3 0x28", "unregister"
  std::vector<std::pair<unsigned, unsigned>> heldElsewhere;
  std::map<WindowHandle, PressHandler> windows;
};

}  // namespace solvane::fake
