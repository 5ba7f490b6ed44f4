#pragma once
// System-wide hotkeys as the hotkey component uses them.

#include <functional>

#include "platform/clipboard_chain.h"  // WindowHandle

namespace solvane {

inline constexpr unsigned kWmHotKey = 0x0312;
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;

class HotKeyApi {
 public:
  // Sees every message of the window before its default handling.
  using MessageHook = std::function<void(unsigned message)>;
  virtual ~HotKeyApi() = default;
  // A hidden window for the registration; 0 when it cannot be made.
  virtual WindowHandle CreateHotKeyWindow(MessageHook hook) = 0;
  virtual void DestroyHotKeyWindow(WindowHandle window) = 0;
  // False when the system refuses (another program holds the combination).
  virtual bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) = 0;
  virtual void UnregisterHotKey(WindowHandle window, int id) = 0;
};

}  // namespace solvane
