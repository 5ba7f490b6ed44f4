#include "platform/win32/win32_clock.h"

namespace solvane::win32 {

std::int64_t Win32Clock::LocalTimeSeconds() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  local.wMilliseconds = 0;
  FILETIME asFileTime{};
  SystemTimeToFileTime(&local, &asFileTime);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = asFileTime.dwLowDateTime;
  ticks.HighPart = asFileTime.dwHighDateTime;
  return static_cast<std::int64_t>(ticks.QuadPart / 10000000ULL);
}

std::int64_t Win32Clock::UtcMilliseconds() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  // From 100 ns steps since 1601 to milliseconds since 1970.
  return static_cast<std::int64_t>(ticks.QuadPart / 10000ULL) - 11644473600000LL;
}

}  // namespace solvane::win32
