#include "core/key_generator.h"

#include <cstdio>

namespace solvane {

std::int32_t KeyGenerator::Draw(std::uint32_t range) {
  seed_ = seed_ * 134775813u + 1u;  // wraps modulo 2^32
  const std::uint64_t product = static_cast<std::uint64_t>(seed_) * range;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
}

namespace {

// At least `digits` digits, zero-padded, a "-" in front of negative values,
// then only the first `digits` characters kept.
std::string Field(std::int32_t value, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*d", digits, static_cast<int>(value));
  return std::string(text).substr(0, static_cast<std::size_t>(digits));
}

}  // namespace

std::string KeyGenerator::FormatKey(std::int32_t r1, std::int32_t r2) { return Field(r1, 7) + Field(r2, 6); }

}  // namespace solvane
