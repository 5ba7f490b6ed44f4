#pragma once
#include <windows.h>

#include "platform/canvas.h"

namespace solvane::win32 {

// Draws straight onto a window's client area (a DC is taken per call), in
// the window's font; the glyph is an optional bitmap, not owned.
class Win32WindowCanvas : public Canvas {
 public:
  Win32WindowCanvas(HWND window, HFONT font) : window_(window), font_(font) {}
  // The caption's font at another DPI; not owned.
  void set_font(HFONT font) { font_ = font; }
  void set_glyph(HBITMAP glyph) { glyph_ = glyph; }

  void FillRect(const Rect& rect, Colour colour) override;
  void FrameRect(const Rect& rect, Colour colour) override;
  void Line(int x1, int y1, int x2, int y2, Colour colour) override;
  void TextOut(int x, int y, const std::string& text, Colour colour) override;
  TextSize TextExtent(const std::string& text) override;
  void DrawGlyph(const Rect& into) override;

 private:
  HWND window_;
  HFONT font_;
  HBITMAP glyph_ = nullptr;
};

}  // namespace solvane::win32
