#include "base/case_fold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace solvane {

namespace {

// Code points first..last (every one, or every other one when step is 2)
// fold to themselves plus offset.
struct FoldRun {
  std::uint32_t first, last, step;
  std::int32_t offset;
};

constexpr FoldRun kFoldRuns[] = {
#include "base/case_fold_table.inc"
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  const auto* run = std::upper_bound(std::begin(kFoldRuns), std::end(kFoldRuns), c,
                                     [](char32_t code, const FoldRun& r) { return code < r.first; });
  if (run == std::begin(kFoldRuns)) return c;
  --run;
  if (c > run->last || (run->step == 2 && (c - run->first) % 2 != 0)) return c;
  return static_cast<char32_t>(static_cast<std::int64_t>(c) + run->offset);
}

char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  // F8 to FF lead nothing: read as F0 to F7, they made one character of
  // bytes that are none.
  const std::size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || at + length > text.size()) {
    ++at;
    return 0xFFFD;
  }
  char32_t c = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and what lies beyond U+10FFFF are no characters.
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++at;
    return 0xFFFD;
  }
  at += length;
  return c;
}

std::string FoldCaseUtf8(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) AppendUtf8(folded, FoldCase(DecodeUtf8(text, at)));
  return folded;
}

}  // namespace solvane
