#include "platform/fake/fake_input.h"

#include <cstdio>
#include <string>

namespace solvane::fake {

void FakeInput::KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, Stroke stroke) {
  ++keyEvents;
  if (log) {
    char text[48];
    std::snprintf(text, sizeof text, "key %02X %u %s", virtualKey, static_cast<unsigned>(scanCode),
                  stroke == Stroke::kUp ? "up" : "down");
    log->push_back(text);
  }
}

void FakeInput::Sleep(int milliseconds) {
  if (log) log->push_back("sleep " + std::to_string(milliseconds));
}

}  // namespace solvane::fake
