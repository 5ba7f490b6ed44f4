#include "platform/fake/fake_text_metrics.h"

namespace solvane::fake {

int FakeTextMetrics::CharWidth(char c) {
  switch (c) {
    case 'i':
    case 'l':
    case 'j':
    case 'I':
    case '.':
    case ',':
    case '\'':
    case '!':
    case '|':
    case ':':
      return 2;
    case 't':
    case 'f':
    case ' ':
    case 'r':
      return 3;
    case 'm':
    case 'w':
    case 'M':
    case 'W':
      return 9;
    default:
      return 6;
  }
}

namespace {

// CharWidth for every byte, looked up rather than switched on: the
// benchmarks measure whole histories through this font.
struct WidthTable {
  unsigned char width[256];
  WidthTable() {
    for (int c = 0; c < 256; ++c)
      width[c] = static_cast<unsigned char>(FakeTextMetrics::CharWidth(static_cast<char>(c)));
  }
};

}  // namespace

int FakeTextMetrics::TextWidth(std::string_view text) {
  ++calls;
  static const WidthTable table;
  int width = 0;
  for (const char c : text) width += table.width[static_cast<unsigned char>(c)];
  return width;
}

int FakeTextMetrics::Utf8TextWidth(std::string_view utf8) {
  int width = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      width += CharWidth(static_cast<char>(c));
    } else if ((c & 0xC0) != 0x80) {
      width += 10;
    }
  }
  ++calls;
  return width;
}

}  // namespace solvane::fake
