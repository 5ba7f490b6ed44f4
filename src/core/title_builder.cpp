#include "core/title_builder.h"

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

// The line a title is made from (the first with a visible character, else
// the first), and whether the text has two lines or more. Reads only as far
// as it must: a clip of megabytes has its title from its first lines.
struct TitleSource {
  std::string_view line;
  bool severalLines = false;
};

TitleSource FindTitleSource(std::string_view text) {
  TitleSource source;
  bool found = false;
  int lines = 0;
  // CR LF, a lone CR and a lone LF each end a line; a final break starts none.
  for (std::size_t start = 0; start < text.size() && !(found && lines >= 2);) {
    const std::size_t end = text.find_first_of("\r\n", start);
    const std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (++lines == 1) source.line = line;
    if (!found && HasVisibleCharacter(line)) {
      source.line = line;
      found = true;
    }
    if (end == std::string_view::npos) break;
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  source.severalLines = lines >= 2;
  return source;
}

// `width` measures a prefix of the title; `cut` moves a length back to a
// whole character.
template <typename Width, typename Cut>
std::string Build(std::string_view text, Width&& width, Cut&& cut) {
  if (text.empty()) return {};
  const TitleSource source = FindTitleSource(text);
  std::string title(source.line.substr(0, cut(source.line, kMaxTitleSource)));

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
  if (wasCut || source.severalLines) title += "...";
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
