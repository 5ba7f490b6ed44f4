#pragma once
#include "platform/text_metrics.h"

namespace solvane::fake {

// A proportional font: narrow i, l, j, I, t, f and punctuation; wide m, w, M, W.
class FakeTextMetrics : public TextMetrics {
 public:
  int TextWidth(std::string_view text) override;
  // ASCII as TextWidth; every other character 10 pixels wide.
  int Utf8TextWidth(std::string_view utf8) override;
  static int CharWidth(char c);
  int calls = 0;
};

}  // namespace solvane::fake
