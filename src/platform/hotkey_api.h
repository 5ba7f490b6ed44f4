#pragma once
// System-wide hotkeys as the hotkey component uses them.

#include <functional>

#include "platform/desktop_types.h"

namespace solvane {

// The modifier keys of a registration, as bits.
inline constexpr unsigned kHotKeyAlt = 1;
inline constexpr unsigned kHotKeyControl = 2;
inline constexpr unsigned kHotKeyShift = 4;

class HotKeyApi {
 public:
  // Called for every press of a combination registered for the window.
  using PressHandler = std::function<void()>;
  virtual ~HotKeyApi() = default;
  // A hidden window for the registrations; 0 when it cannot be made.
  virtual WindowHandle CreateHotKeyWindow(PressHandler onPress) = 0;
  // Destroys a window made by CreateHotKeyWindow; its handler is not called again.
  virtual void DestroyHotKeyWindow(WindowHandle window) = 0;
  // Registers the key (a virtual-key code) with the modifier bits under
  // `id`. False when the system refuses (another program holds the
  // combination); nothing is registered then.
  virtual bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) = 0;
  // Drops the registration `id` of the window; one that does not exist is ignored.
  virtual void UnregisterHotKey(WindowHandle window, int id) = 0;
};

}  // namespace solvane
