#pragma once

namespace solvane {

// The clip window's timers, by number. An interval of 0 stops a timer.
class Timers {
 public:
  virtual ~Timers() = default;
  // (Re)starts the timer: its handler runs every `milliseconds` on the UI
  // thread from now on; 0 or less stops it. A timer the system refuses
  // stays stopped, unreported.
  virtual void SetInterval(int timer, int milliseconds) = 0;
};

inline constexpr int kHintWatchdogTimer = 1;  // the preview hint goes with the pointer
inline constexpr int kAutosaveTimer = 2;
inline constexpr int kLabelFollowTimer = 3;  // the label column follows the list
inline constexpr int kShareCheckTimer = 4;   // the shared folder's periodic check

}  // namespace solvane
