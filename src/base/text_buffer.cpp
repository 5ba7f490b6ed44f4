#include "base/text_buffer.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define SOLVANE_HAVE_SSE2 1
#endif

namespace solvane {

const char* FindByte(const char* first, const char* last, char c) {
#if defined(SOLVANE_HAVE_SSE2)
  const __m128i wanted = _mm_set1_epi8(c);
  for (; last - first >= 16; first += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first));
    const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
    if (hits != 0) return first + std::countr_zero(hits);
  }
#endif
  for (; first != last; ++first) {
    if (*first == c) return first;
  }
  return last;
}

namespace {

// Calls emit(line) for every line, with CR LF, CR and LF all as breaks;
// returns whether the text ended with a break. Lines are long and breaks
// rare, so the breaks are searched for many bytes at a time.
template <typename Emit>
bool ForEachLine(std::string_view text, Emit emit) {
  const char* const data = text.data();
  const std::size_t size = text.size();
  // Offset of the next LF at or after `at` (size when none); searched again
  // only once passed.
  std::size_t nextLf = 0;
  bool haveLf = false;
  bool endedWithBreak = false;
  for (std::size_t at = 0; at < size;) {
    if (!haveLf || nextLf < at) {
      nextLf = static_cast<std::size_t>(FindByte(data + at, data + size, '\n') - data);
      haveLf = true;
    }
    const std::size_t stop = static_cast<std::size_t>(FindByte(data + at, data + nextLf, '\r') - data);
    if (stop == size) {
      emit(text.substr(at));
      return false;
    }
    emit(text.substr(at, stop - at));
    at = stop + ((data[stop] == '\r' && stop + 1 < size && data[stop + 1] == '\n') ? 2 : 1);
    endedWithBreak = true;
  }
  if (!endedWithBreak) emit(text);  // the empty text is one empty line
  return endedWithBreak;
}

}  // namespace

std::vector<std::string> SplitBufferLines(std::string_view text) {
  std::vector<std::string> lines;
  if (ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); })) lines.emplace_back();
  return lines;
}

std::vector<std::string_view> BufferLineViews(std::string_view text) {
  std::vector<std::string_view> lines;
  if (ForEachLine(text, [&](std::string_view line) { lines.push_back(line); })) lines.emplace_back();
  return lines;
}

void AppendBufferLines(std::string& out, std::string_view text) {
  if (ForEachLine(text, [&](std::string_view line) { out.append(line).append(kCrLf); })) out.append(kCrLf);
}

int BufferLineCount(std::string_view text) {
  if (text.empty()) return 0;
  int count = 0;
  ForEachLine(text, [&](std::string_view) { ++count; });
  return count;
}

std::string NormalizeLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  bool first = true;
  const bool trailing = ForEachLine(text, [&](std::string_view line) {
    if (!first) out += kCrLf;
    out += line;
    first = false;
  });
  if (trailing) out += kCrLf;
  return out;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += kCrLf;
    out += lines[i];
  }
  return out;
}

std::vector<std::string> SplitStoreFile(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find(kCrLf, start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::size_t TitleFileLength(std::string_view bytes) {
  return static_cast<std::size_t>(FindByte(bytes.data(), bytes.data() + bytes.size(), '\0') - bytes.data());
}

std::vector<std::string_view> SplitTitleFile(std::string_view bytes) {
  return SplitTitleLines(bytes.substr(0, TitleFileLength(bytes)));
}

std::vector<std::string_view> SplitTitleLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  if (bytes.empty()) return lines;
  // Counted first: a list grown step by step leaves its earlier storage
  // with the heap, which may keep it for good.
  lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
  ForEachLine(bytes, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string JoinFileLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const auto& line : lines) {
    out += line;
    out += kCrLf;
  }
  return out;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

}  // namespace solvane
