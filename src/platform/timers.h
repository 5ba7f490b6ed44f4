#pragma once

namespace solvane {

// The clip window's timers, by number. An interval of 0 stops a timer.
class Timers {
 public:
  virtual ~Timers() = default;
  virtual void SetInterval(int timer, int milliseconds) = 0;
};

inline constexpr int kAutosaveTimer = 2;  // autosave

}  // namespace solvane
