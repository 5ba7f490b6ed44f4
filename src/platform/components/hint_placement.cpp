#include "platform/components/hint_placement.h"

#include <algorithm>

#include "base/utf8.h"

namespace solvane {

namespace {

constexpr std::string_view kEllipsis = "...";

// The longest start of `line` (UTF-8, cut between characters) that, with
// "..." after it, measures at most maxWidth. Only maxWidth characters are
// tried: no glyph is narrower than a pixel, and a line of megabytes must
// not be measured whole.
std::string CutLine(std::string_view line, int maxWidth, const std::function<int(std::string_view)>& measure) {
  std::string probe;
  auto widthWith = [&](std::size_t n) {
    probe.assign(line.substr(0, n));
    probe += kEllipsis;
    return measure(probe);
  };
  std::size_t low = 0;  // fits, or nothing does
  std::size_t high = Utf8Offset(line, static_cast<std::size_t>(std::max(maxWidth, 0)));
  if (widthWith(high) <= maxWidth) low = high;
  while (high - low > 1) {
    std::size_t mid = Utf8CutPoint(line, low + (high - low) / 2);
    if (mid <= low) mid = Utf8Offset(line, Utf8Length(line.substr(0, low)) + 1);
    if (mid >= high) break;  // no character boundary between them
    if (widthWith(mid) <= maxWidth) {
      low = mid;
    } else {
      high = mid;
    }
  }
  return std::string(line.substr(0, low)) + std::string(kEllipsis);
}

bool Fits(std::string_view line, int maxWidth, const std::function<int(std::string_view)>& measure) {
  return Utf8Length(line) <= static_cast<std::size_t>(std::max(maxWidth, 0)) && measure(line) <= maxWidth;
}

}  // namespace

namespace {

bool Touches(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// How far apart two rectangles lie, squared; 0 when they touch.
long long GapSquared(const Rect& a, const Rect& b) {
  const long long dx = std::max({0, b.left - a.right, a.left - b.right});
  const long long dy = std::max({0, b.top - a.bottom, a.top - b.bottom});
  return dx * dx + dy * dy;
}

// `start` moved so that [start, start + size) lies in [low, high), or
// starting at low when it is longer than that.
int MovedInto(int start, int size, int low, int high) { return std::max(low, std::min(start, high - size)); }

}  // namespace

Rect KeepOnScreen(const Rect& window, const std::vector<Rect>& workAreas) {
  const Rect* nearest = nullptr;
  for (const Rect& area : workAreas) {
    if (Touches(window, area)) return window;
    if (nearest == nullptr || GapSquared(window, area) < GapSquared(window, *nearest)) nearest = &area;
  }
  if (nearest == nullptr) return window;
  const int left = MovedInto(window.left, window.width(), nearest->left, nearest->right);
  const int top = MovedInto(window.top, window.height(), nearest->top, nearest->bottom);
  return Rect{left, top, left + window.width(), top + window.height()};
}

Rect PlaceHint(int x, int y, int width, int height, const Rect& work, int gap) {
  Rect at;
  at.left = std::max(work.left, std::min(x, work.right - width));
  if (y + gap >= work.top && y + gap + height <= work.bottom) {
    at.top = y + gap;
  } else if (y - height >= work.top && y <= work.bottom) {
    at.top = y - height;
  } else {
    at.top = std::max(work.top, std::min(y + gap, work.bottom - height));
  }
  at.right = at.left + width;
  at.bottom = at.top + height;
  return at;
}

std::vector<std::string> FitHintText(std::string_view text, int maxWidth, int maxLines,
                                     const std::function<int(std::string_view)>& measure) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  // A break at the end starts no line, as DrawText counts them.
  if (start < text.size() || lines.empty()) lines.push_back(text.substr(start));
  const bool tooHigh = lines.size() > static_cast<std::size_t>(std::max(maxLines, 1));
  if (tooHigh) lines.resize(static_cast<std::size_t>(std::max(maxLines, 1)));

  std::vector<std::string> out;
  out.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (tooHigh && i + 1 == lines.size()) {
      std::string marked = std::string(line) + std::string(kEllipsis);
      out.push_back(Fits(marked, maxWidth, measure) ? marked : CutLine(line, maxWidth, measure));
    } else {
      out.push_back(Fits(line, maxWidth, measure) ? std::string(line) : CutLine(line, maxWidth, measure));
    }
  }
  return out;
}

}  // namespace solvane
