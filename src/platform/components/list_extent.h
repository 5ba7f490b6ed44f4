#pragma once
// The clip list's automatic sideways extent: the widest line's text plus "x"
// in the list font, plus the check column (18 pixels at 96 DPI).

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/text_metrics.h"

namespace solvane {

class ListExtent {
 public:
  static constexpr int kCheckColumn = 18;
  explicit ListExtent(TextMetrics& font) : font_(font) {}
  // The column's width at the list's DPI.
  void set_check_column(int pixels) { checkColumn_ = pixels; }

  int LineWidth(std::string_view text) const {
    // One buffer for every measurement: a loaded history measures each line.
    scratch_.assign(text);
    scratch_ += 'x';
    return font_.TextWidth(scratch_) + checkColumn_;
  }
  // After an add or insert: the extent to send.
  int Grown(int extent, std::string_view text) const { return std::max(extent, LineWidth(text)); }
  // Whether deleting this line means recomputing over the rest.
  bool IsWidest(int extent, std::string_view text) const { return LineWidth(text) >= extent; }

 private:
  TextMetrics& font_;
  int checkColumn_ = kCheckColumn;
  mutable std::string scratch_;
};

}  // namespace solvane
