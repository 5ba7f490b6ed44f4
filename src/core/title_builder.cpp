#include "core/title_builder.h"

#include <vector>

#include "base/text_buffer.h"
#include "base/utf8.h"

namespace solvane {

namespace {

bool HasVisibleCharacter(std::string_view line) {
  for (const char c : line) {
    if (static_cast<unsigned char>(c) > 32) return true;
  }
  return false;
}

}  // namespace

namespace {

// `width` measures a prefix of the title; `cut` moves a length back to a
// whole character.
template <typename Width, typename Cut>
std::string Build(std::string_view text, Width&& width, Cut&& cut) {
  const int lineCount = BufferLineCount(text);
  if (lineCount == 0) return {};
  std::vector<std::string> lines = SplitBufferLines(text);
  lines.resize(static_cast<std::size_t>(lineCount));  // a final break starts no line

  std::string title = lines[0];
  for (const auto& line : lines) {
    if (HasVisibleCharacter(line)) {
      title = line;
      break;
    }
  }
  if (title.size() > kMaxTitleSource) title.resize(cut(title, kMaxTitleSource));

  bool wasCut = false;
  if (width(title) > kMaxTitleWidth) {
    // Widths grow with every character, so the longest prefix that fits is
    // found by halving instead of measuring once per removed character.
    std::size_t fits = 0;
    std::size_t tooWide = title.size();
    while (tooWide - fits > 1) {
      const std::size_t mid = fits + (tooWide - fits) / 2;
      if (width(std::string_view(title).substr(0, mid)) > kMaxTitleWidth) {
        tooWide = mid;
      } else {
        fits = mid;
      }
    }
    title.resize(cut(title, fits));
    wasCut = true;
  }
  if (wasCut || lineCount >= 2) title += "...";
  return title;
}

}  // namespace

std::string BuildTitle(std::string_view text, TextMetrics& metrics) {
  return Build(
      text, [&](std::string_view prefix) { return metrics.TextWidth(prefix); },
      [](std::string_view, std::size_t length) { return length; });
}

std::string BuildExactTitle(std::string_view utf8, TextMetrics& metrics) {
  return Build(
      utf8, [&](std::string_view prefix) { return metrics.Utf8TextWidth(prefix); },
      [](std::string_view title, std::size_t length) { return Utf8CutPoint(title, length); });
}

}  // namespace solvane
