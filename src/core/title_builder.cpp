#include "core/title_builder.h"

#include <vector>

#include "base/text_buffer.h"

namespace solvane {

namespace {

bool HasVisibleCharacter(std::string_view line) {
  for (const char c : line) {
    if (static_cast<unsigned char>(c) > 32) return true;
  }
  return false;
}

}  // namespace

std::string BuildTitle(std::string_view text, TextMetrics& metrics) {
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
  if (title.size() > kMaxTitleSource) title.resize(kMaxTitleSource);

  bool cut = false;
  if (metrics.TextWidth(title) > kMaxTitleWidth) {
    // Widths grow with every character, so the longest prefix that fits is
    // found by halving instead of measuring once per removed character.
    std::size_t fits = 0;
    std::size_t tooWide = title.size();
    while (tooWide - fits > 1) {
      const std::size_t mid = fits + (tooWide - fits) / 2;
      if (metrics.TextWidth(std::string_view(title).substr(0, mid)) > kMaxTitleWidth) {
        tooWide = mid;
      } else {
        fits = mid;
      }
    }
    title.resize(fits);
    cut = true;
  }
  if (cut || lineCount >= 2) title += "...";
  return title;
}

}  // namespace solvane
