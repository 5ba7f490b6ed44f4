#pragma once
#include <cstdint>

namespace solvane {

// The time as the program reads it. Never fails.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since the system started, wrapping at 2^32.
  virtual std::uint32_t TickCount() = 0;
  // The local date and time cut to whole seconds, as seconds since an epoch.
  virtual std::int64_t LocalTimeSeconds() = 0;
  // Milliseconds since 1970 in UTC: the same moment on every machine, as
  // far as their clocks agree.
  virtual std::int64_t UtcMilliseconds() = 0;
};

}  // namespace solvane
