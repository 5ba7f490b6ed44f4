#pragma once
// Drawing surface for owner-painted controls.

#include <cstdint>
#include <string>

namespace solvane {

using Colour = std::uint32_t;  // 0x00BBGGRR
constexpr Colour Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Rect&) const = default;
};

struct TextSize {
  int width = 0, height = 0;
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(const Rect& rect, Colour colour) = 0;
  // A one-pixel frame along the rectangle's inside edge.
  virtual void FrameRect(const Rect& rect, Colour colour) = 0;
  // From (x1, y1) up to, not including, (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2, Colour colour) = 0;
  // Transparent background.
  virtual void TextOut(int x, int y, const std::string& text, Colour colour) = 0;
  virtual TextSize TextExtent(const std::string& text) = 0;
  // The glyph stretched into the rectangle; its top-left pixel's colour is
  // transparent.
  virtual void DrawGlyph(const Rect& into) = 0;
};

}  // namespace solvane
