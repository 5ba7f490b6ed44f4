#pragma once
#include <map>

#include "platform/timers.h"

namespace solvane::fake {

// Each timer's interval as last set; nothing ticks unless a test calls the handler.
class FakeTimers : public Timers {
 public:
  void SetInterval(int timer, int milliseconds) override { intervals[timer] = milliseconds; }
  std::map<int, int> intervals;
};

}  // namespace solvane::fake
