#include "platform/win32/win32_canvas.h"

#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// FillRect and FrameRect take the same brush and rectangle.
static void WithBrush(HWND window, const Rect& rect, Colour colour, int(WINAPI* paint)(HDC, const RECT*, HBRUSH)) {
  WindowDc dc(window);
  OwnedBrush brush(CreateSolidBrush(colour));
  const RECT r = ToRect(rect);
  paint(dc, &r, brush);
}

void Win32WindowCanvas::FillRect(const Rect& rect, Colour colour) { WithBrush(window_, rect, colour, &::FillRect); }

void Win32WindowCanvas::FrameRect(const Rect& rect, Colour colour) { WithBrush(window_, rect, colour, &::FrameRect); }

void Win32WindowCanvas::Line(int x1, int y1, int x2, int y2, Colour colour) {
  WindowDc dc(window_);
  OwnedPen pen(CreatePen(PS_SOLID, 1, colour));
  SelectedObject selected(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);  // the end point itself is not drawn
}

void Win32WindowCanvas::TextOut(int x, int y, const std::string& text, Colour colour) {
  WindowDc dc(window_);
  SelectedObject selected(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  ::TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

TextSize Win32WindowCanvas::TextExtent(const std::string& text) {
  WindowDc dc(window_);
  SelectedObject selected(dc, font_);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return TextSize{size.cx, size.cy};
}

void Win32WindowCanvas::DrawGlyph(const Rect& into) {
  if (glyph_ == nullptr) return;
  WindowDc dc(window_);
  BITMAP info{};
  GetObject(glyph_, sizeof info, &info);
  OwnedMemoryDc source(CreateCompatibleDC(dc));
  SelectedObject selected(source, glyph_);  // the glyph is not ours: the caller owns it
  const COLORREF transparent = GetPixel(source, 0, 0);
  TransparentBlt(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, source, 0, 0, info.bmWidth,
                 info.bmHeight, transparent);
}

}  // namespace solvane::win32
