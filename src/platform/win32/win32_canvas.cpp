#include "platform/win32/win32_canvas.h"

namespace solvane::win32 {

namespace {

// A window DC for the length of one drawing call.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() { ReleaseDC(window_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// FillRect and FrameRect take the same brush and rectangle.
static void WithBrush(HWND window, const Rect& rect, Colour colour, int(WINAPI* paint)(HDC, const RECT*, HBRUSH)) {
  WindowDc dc(window);
  HBRUSH brush = CreateSolidBrush(colour);
  const RECT r = ToRect(rect);
  paint(dc, &r, brush);
  DeleteObject(brush);
}

void Win32WindowCanvas::FillRect(const Rect& rect, Colour colour) { WithBrush(window_, rect, colour, &::FillRect); }

void Win32WindowCanvas::FrameRect(const Rect& rect, Colour colour) { WithBrush(window_, rect, colour, &::FrameRect); }

void Win32WindowCanvas::Line(int x1, int y1, int x2, int y2, Colour colour) {
  WindowDc dc(window_);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);  // the end point itself is not drawn
  SelectObject(dc, old);
  DeleteObject(pen);
}

void Win32WindowCanvas::TextOut(int x, int y, const std::string& text, Colour colour) {
  WindowDc dc(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  ::TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
  SelectObject(dc, old);
}

TextSize Win32WindowCanvas::TextExtent(const std::string& text) {
  WindowDc dc(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  return TextSize{size.cx, size.cy};
}

void Win32WindowCanvas::DrawGlyph(const Rect& into) {
  if (glyph_ == nullptr) return;
  WindowDc dc(window_);
  BITMAP info{};
  GetObject(glyph_, sizeof info, &info);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, glyph_);
  const COLORREF transparent = GetPixel(source, 0, 0);
  TransparentBlt(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, source, 0, 0,
                 info.bmWidth, info.bmHeight, transparent);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace solvane::win32
