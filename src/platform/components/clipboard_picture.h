#pragma once
// The program's picture, a clipboard on a 16 x 16 grid, as plain data: the
// tray icon and the menu picture are painted from it at run time, and the
// exe's icon file is written from it when the program is built, so the
// three can never differ.

#include <cstdint>

namespace solvane::clipboard_picture {

struct Colour {
  std::uint8_t red, green, blue;
};

// A filled rectangle; right and bottom are just outside it, as in a RECT.
struct Box {
  int left, top, right, bottom;
  Colour colour;
};

inline constexpr int kSize = 16;

// Painted in this order. Everything the boxes cover is the picture; the
// rest is transparent.
inline constexpr Box kBoxes[] = {
    {2, 2, 14, 16, {139, 90, 43}},    // board
    {4, 4, 12, 14, {255, 255, 255}},  // paper
    {5, 1, 11, 4, {160, 160, 160}},   // clip
    {5, 6, 11, 7, {0, 0, 160}},       // lines of text
    {5, 8, 11, 9, {0, 0, 160}},      {5, 10, 11, 11, {0, 0, 160}}, {5, 12, 11, 13, {0, 0, 160}},
};

// An edge of the 16-grid on a grid of `size` pixels, rounded to the nearest.
constexpr int ScaledEdge(int edge, int size) { return (edge * size + kSize / 2) / kSize; }
// A box drawn on a picture of `size` pixels (20, 24, 32, ...), its edges
// on that grid's pixels, never thinner than one.
constexpr Box Scaled(const Box& box, int size) {
  const int left = ScaledEdge(box.left, size), top = ScaledEdge(box.top, size);
  const int right = ScaledEdge(box.right, size), bottom = ScaledEdge(box.bottom, size);
  return Box{left, top, right > left ? right : left + 1, bottom > top ? bottom : top + 1, box.colour};
}

// The mark across the icon while recording is off: a line drawn with a pen
// of this width, from the first point to the second.
struct Stroke {
  int x1, y1, x2, y2, width;
  Colour colour;
};
inline constexpr Stroke kOffMark = {2, 14, 14, 2, 2, {220, 0, 0}};

}  // namespace solvane::clipboard_picture
