#pragma once
#include <cstdint>

#include "platform/fake/event_log.h"
#include "platform/input.h"

namespace solvane::fake {

// Synthesised keys and waits, recorded instead of done.
class FakeInput : public KeyboardInput {
 public:
  // Logged as "key 11 0 down": the key in hex, the scan code, down or up.
  void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, Stroke stroke) override;
  void Sleep(int milliseconds) override;
  EventLog* log = nullptr;
  int keyEvents = 0;
};

}  // namespace solvane::fake
