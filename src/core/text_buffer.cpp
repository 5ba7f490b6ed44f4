#include "core/text_buffer.h"

namespace solvane {

namespace {

// Calls emit(line) for every line, with CR LF, CR and LF all as breaks;
// returns whether the text ended with a break.
template <typename Emit>
bool ForEachLine(std::string_view text, Emit emit) {
  std::size_t start = 0;
  bool endedWithBreak = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      emit(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
      endedWithBreak = true;
    } else {
      ++i;
      endedWithBreak = false;
    }
  }
  if (!endedWithBreak) emit(text.substr(start));
  return endedWithBreak;
}

}  // namespace

std::vector<std::string> SplitBufferLines(std::string_view text) {
  std::vector<std::string> lines;
  if (ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); })) lines.emplace_back();
  return lines;
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

std::vector<std::string> SplitTitleFile(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::vector<std::string> lines;
  if (bytes.empty()) return lines;
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

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

}  // namespace solvane
