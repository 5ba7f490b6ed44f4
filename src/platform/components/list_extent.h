#pragma once
// The clip list's automatic sideways extent: the widest line's text plus "x"
// in the list font, plus the 18-pixel check column.

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/text_metrics.h"

namespace solvane {

class ListExtent {
 public:
  static constexpr int kCheckColumn = 18;
  explicit ListExtent(TextMetrics& font) : font_(font) {}

  int LineWidth(std::string_view text) const {
    // One buffer for every measurement: a loaded history measures each line.
    scratch_.assign(text);
    scratch_ += 'x';
    return font_.TextWidth(scratch_) + kCheckColumn;
  }
  // After an add or insert: the extent to send.
  int Grown(int extent, std::string_view text) const { return std::max(extent, LineWidth(text)); }
  // Whether deleting this line means recomputing over the rest.
  bool IsWidest(int extent, std::string_view text) const { return LineWidth(text) >= extent; }

 private:
  TextMetrics& font_;
  mutable std::string scratch_;
};

}  // namespace solvane
