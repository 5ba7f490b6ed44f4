#pragma once
#include <cstdint>

#include "platform/clock.h"

namespace solvane::fake {

// A clock that moves only when a test moves it.
class FakeClock : public Clock {
 public:
  std::uint32_t TickCount() override { return tick; }
  std::int64_t LocalTimeSeconds() override { return seconds; }
  std::int64_t UtcMilliseconds() override { return utcMs; }
  std::uint32_t tick = 123456;
  std::int64_t seconds = 1'000'000;
  std::int64_t utcMs = 1'800'000'000'000;
};

}  // namespace solvane::fake
