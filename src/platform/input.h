#pragma once
#include <cstdint>

namespace solvane {

// Synthesised keystrokes and waiting on the user-interface thread.
class KeyboardInput {
 public:
  enum class Stroke { kDown, kUp };
  virtual ~KeyboardInput() = default;
  // One key going down or up, into the system's input stream as if typed;
  // whether it arrived is not reported.
  virtual void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, Stroke stroke) = 0;
  // Blocks the calling thread; a negative time waits not at all.
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace solvane
