#pragma once
// Drawing surface for owner-painted controls.

#include <cstdint>
#include <string>

#include "platform/desktop_types.h"

namespace solvane {

using Colour = std::uint32_t;  // 0x00BBGGRR
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// A text's size in pixels.
struct TextSize {
  int width = 0, height = 0;
};

// Coordinates are the control's own, (0, 0) its top-left pixel. Drawing
// never fails visibly: what the system cannot draw is left out.
class Canvas {
 public:
  virtual ~Canvas() = default;
  // Fills the rectangle (right and bottom excluded) with the colour.
  virtual void FillRect(const Rect& rect, Colour colour) = 0;
  // A one-pixel frame along the rectangle's inside edge.
  virtual void FrameRect(const Rect& rect, Colour colour) = 0;
  // A one-pixel line from (x1, y1) up to, not including, (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2, Colour colour) = 0;
  // The text (ANSI) in the control's font with its top-left corner at
  // (x, y), on a transparent background.
  virtual void TextOut(int x, int y, const std::string& text, Colour colour) = 0;
  // The text's size in the control's font; 0 x 0 when it cannot be measured.
  virtual TextSize TextExtent(const std::string& text) = 0;
  // The glyph stretched into the rectangle; its top-left pixel's colour is
  // transparent. Nothing when the control has no glyph.
  virtual void DrawGlyph(const Rect& into) = 0;
};

}  // namespace solvane
