#pragma once
// Clip keys: 13 characters from three draws of the program's own 32-bit
// linear congruential generator. The seed starts at 0 with every run and is
// never reseeded, so a run's keys depend only on the tick counts they were
// drawn with.

#include <cstdint>
#include <string>

namespace solvane {

class KeyGenerator {
 public:
  // seed := seed * 134775813 + 1, then the upper 32 bits of seed * range,
  // read as a signed 32-bit number.
  std::int32_t Draw(std::uint32_t range);

  // One discarded draw, then r1 and r2, each with `tickCount()` as range.
  // Result: r1 as "%7.7d" cut to 7 characters, then r2 as "%6.6d" cut to 6.
  template <typename TickSource>
  std::string MakeKey(TickSource tickCount) {
    Draw(tickCount());
    const std::int32_t r1 = Draw(tickCount());
    const std::int32_t r2 = Draw(tickCount());
    return FormatKey(r1, r2);
  }

  static std::string FormatKey(std::int32_t r1, std::int32_t r2);

  std::uint32_t seed() const { return seed_; }

 private:
  std::uint32_t seed_ = 0;
};

}  // namespace solvane
