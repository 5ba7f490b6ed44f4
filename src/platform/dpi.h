#pragma once
// Lengths at a screen's DPI. The program's layout is drawn at 96 DPI (100 %
// scaling); on a screen at another DPI every length is multiplied by
// dpi / 96 and rounded to the nearest pixel, halves away from zero, as
// MulDiv rounds.

#include "platform/desktop_types.h"

namespace solvane {

inline constexpr int kDesignDpi = 96;

class DpiScale {
 public:
  // A DPI of 0 or less (a failed query) is taken as 96.
  constexpr explicit DpiScale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  constexpr int dpi() const { return dpi_; }
  constexpr int operator()(int pixels) const {
    const long long product = static_cast<long long>(pixels) * dpi_;
    constexpr long long kHalf = kDesignDpi / 2;
    return static_cast<int>(product >= 0 ? (product + kHalf) / kDesignDpi : -((kHalf - product) / kDesignDpi));
  }
  // Each edge scaled on its own, so that rectangles that touch at 96 DPI
  // touch at any other and never overlap.
  constexpr Rect operator()(const Rect& r) const {
    return Rect{(*this)(r.left), (*this)(r.top), (*this)(r.right), (*this)(r.bottom)};
  }
  constexpr Point operator()(const Point& p) const { return Point{(*this)(p.x), (*this)(p.y)}; }

 private:
  int dpi_;
};

}  // namespace solvane
