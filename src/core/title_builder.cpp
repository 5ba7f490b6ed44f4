#include "core/title_builder.h"

#include "base/text_buffer.h"
#include "base/utf8.h"
#include "core/clip_text_store.h"

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
    // A plain loop: find_first_of asks memchr about each character in turn.
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    if (end == text.size()) end = std::string_view::npos;
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

// The title, then `padding` and `key` after it in the same string, made at
// its full size at once.
std::string Joined(std::string_view title, bool dots, std::string_view padding, std::string_view key) {
  std::string line;
  line.reserve(title.size() + 3 + padding.size() + key.size());
  line.append(title);
  if (dots) line.append("...");
  line.append(padding);
  line.append(key);
  return line;
}

// `width` measures a prefix of the title; `cut` moves a length back to a
// whole character.
template <typename Width, typename Cut>
std::string Build(std::string_view text, Width&& width, Cut&& cut, std::string_view padding, std::string_view key) {
  if (text.empty()) return Joined({}, false, padding, key);
  const TitleSource source = FindTitleSource(text);
  const std::string_view line = source.line.substr(0, cut(source.line, kMaxTitleSource));

  // Widths grow with every character, so the longest prefix that fits lies
  // between a prefix that fits and one that does not. Prefixes twice as long
  // each time find such a pair near the cut, where measuring the whole line
  // first cost a merge of 20,000 long lines a measure of 4,096 characters
  // each; then halving finds the cut. Only the title is copied.
  std::size_t fits = 0;
  std::size_t tooWide = 0;
  for (std::size_t probe = 64; tooWide == 0; probe *= 2) {
    if (probe >= line.size()) {
      if (width(line) > kMaxTitleWidth) tooWide = line.size();
      break;
    }
    if (width(line.substr(0, probe)) > kMaxTitleWidth) {
      tooWide = probe;
    } else {
      fits = probe;
    }
  }
  if (tooWide == 0) return Joined(line, source.severalLines, padding, key);
  while (tooWide - fits > 1) {
    const std::size_t mid = fits + (tooWide - fits) / 2;
    if (width(line.substr(0, mid)) > kMaxTitleWidth) {
      tooWide = mid;
    } else {
      fits = mid;
    }
  }
  return Joined(line.substr(0, cut(line, fits)), true, padding, key);
}

auto AnsiWidth(TextMetrics& metrics) {
  return [&metrics](std::string_view prefix) { return metrics.TextWidth(prefix); };
}
auto Utf8Width(TextMetrics& metrics) {
  return [&metrics](std::string_view prefix) { return metrics.Utf8TextWidth(prefix); };
}
std::size_t AnyCut(std::string_view, std::size_t length) { return length; }

}  // namespace

std::string BuildTitle(std::string_view text, TextMetrics& metrics) {
  return Build(text, AnsiWidth(metrics), AnyCut, {}, {});
}

std::string BuildExactTitle(std::string_view utf8, TextMetrics& metrics) {
  return Build(utf8, Utf8Width(metrics), Utf8CutPoint, {}, {});
}

std::string BuildTitleLine(std::string_view text, TextMetrics& metrics, std::string_view key) {
  return Build(text, AnsiWidth(metrics), AnyCut, kTitlePadding, key);
}

std::string BuildExactTitleLine(std::string_view utf8, TextMetrics& metrics, std::string_view key) {
  return Build(utf8, Utf8Width(metrics), Utf8CutPoint, kTitlePadding, key);
}

}  // namespace solvane
