#pragma once
#include <string_view>

namespace solvane {

// Text measurement in the clip list's font ("MS Sans Serif", 8 point).
class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // Width in pixels of the text on one line. Never fails; 0 for "".
  virtual int TextWidth(std::string_view text) = 0;
  // The same for UTF-8 text; a malformed sequence measures as U+FFFD.
  virtual int Utf8TextWidth(std::string_view utf8) = 0;
};

}  // namespace solvane
