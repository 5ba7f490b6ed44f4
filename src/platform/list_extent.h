#pragma once
// The clip list's automatic sideways extent: the widest line's text plus "x"
// in the list font, plus the 18-pixel check column.

#include <algorithm>
#include <string>

#include "platform/text_metrics.h"

namespace solvane {

class ListExtent {
 public:
  static constexpr int kCheckColumn = 18;
  explicit ListExtent(TextMetrics& font) : font_(font) {}

  int LineWidth(const std::string& text) const { return font_.TextWidth(text + "x") + kCheckColumn; }
  // After an add or insert: the extent to send.
  int Grown(int extent, const std::string& text) const { return std::max(extent, LineWidth(text)); }
  // Whether deleting this line means recomputing over the rest.
  bool IsWidest(int extent, const std::string& text) const { return LineWidth(text) >= extent; }

 private:
  TextMetrics& font_;
};

}  // namespace solvane
