#include "core/key_generator.h"

#include <algorithm>

namespace solvane {

std::int32_t KeyGenerator::Draw(std::uint32_t range) {
  seed_ = seed_ * 134775813u + 1u;  // wraps modulo 2^32
  const std::uint64_t product = static_cast<std::uint64_t>(seed_) * range;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(product >> 32));
}

namespace {

// At least `digits` digits, zero-padded, a "-" in front of negative values,
// then only the first `digits` characters kept: "%.*d" cut short, made by
// hand since a merge makes a key for every clip of a history.
std::string Field(std::int32_t value, int digits) {
  char reversed[10];
  int count = 0;
  std::uint32_t magnitude = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text;
  if (value < 0) text.push_back('-');
  if (count < digits) text.append(static_cast<std::size_t>(digits - count), '0');
  while (count > 0) text.push_back(reversed[--count]);
  text.resize(std::min(text.size(), static_cast<std::size_t>(digits)));
  return text;
}

}  // namespace

std::string KeyGenerator::FormatKey(std::int32_t r1, std::int32_t r2) { return Field(r1, 7) + Field(r2, 6); }

}  // namespace solvane
