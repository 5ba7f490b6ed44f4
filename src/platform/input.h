#pragma once
#include <cstdint>

namespace solvane {

// Synthesised keystrokes and waiting on the user-interface thread.
class KeyboardInput {
 public:
  virtual ~KeyboardInput() = default;
  inline static constexpr std::uint32_t kKeyUp = 2;
  // One key event into the system's input stream; results are not reported.
  virtual void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) = 0;
  // Blocks the calling thread.
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace solvane
