#pragma once
#include <windows.h>

#include "platform/clock.h"

namespace solvane::win32 {

class Win32Clock : public Clock {
 public:
  std::uint32_t TickCount() override { return GetTickCount(); }
  std::int64_t LocalTimeSeconds() override;
  std::int64_t UtcMilliseconds() override;
};

}  // namespace solvane::win32
