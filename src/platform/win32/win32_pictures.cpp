#include "platform/win32/win32_pictures.h"

#include "platform/components/clipboard_picture.h"

namespace solvane::win32 {

namespace {

COLORREF RgbOf(clipboard_picture::Colour colour) { return RGB(colour.red, colour.green, colour.blue); }

RECT RectOf(const clipboard_picture::Box& box) { return RECT{box.left, box.top, box.right, box.bottom}; }

// Paints into a colour bitmap of `size` pixels; the mask marks what is drawn.
void PaintClipboard(HDC dc, bool marked, int size = clipboard_picture::kSize) {
  RECT all{0, 0, size, size};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  for (const clipboard_picture::Box& box : clipboard_picture::kBoxes) {
    OwnedBrush brush(CreateSolidBrush(RgbOf(box.colour)));
    const RECT rect = RectOf(clipboard_picture::Scaled(box, size));
    FillRect(dc, &rect, brush);
  }
  if (marked) {
    using clipboard_picture::ScaledEdge;
    const clipboard_picture::Stroke& mark = clipboard_picture::kOffMark;
    OwnedPen pen(CreatePen(PS_SOLID, ScaledEdge(mark.width, size), RgbOf(mark.colour)));
    SelectedObject selected(dc, pen);
    MoveToEx(dc, ScaledEdge(mark.x1, size), ScaledEdge(mark.y1, size), nullptr);
    LineTo(dc, ScaledEdge(mark.x2, size), ScaledEdge(mark.y2, size));
  }
}

}  // namespace

ClipboardIcon::ClipboardIcon(bool marked, int size) {
  if (size <= 0) size = clipboard_picture::kSize;
  WindowDc screen(nullptr);
  OwnedMemoryDc dc(CreateCompatibleDC(screen));
  OwnedBitmap colour(CreateCompatibleBitmap(screen, size, size));
  OwnedBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  {
    SelectedObject selected(dc, colour);
    PaintClipboard(dc, marked, size);
  }
  {
    SelectedObject selected(dc, mask);
    // The mask is white (transparent) where nothing was painted.
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (const clipboard_picture::Box& box : clipboard_picture::kBoxes) {
      const RECT rect = RectOf(clipboard_picture::Scaled(box, size));
      FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  icon_.reset(CreateIconIndirect(&info));  // copies the bitmaps, which go at the end of this scope
}

namespace {

void Box(HDC dc, int l, int t, int r, int b, COLORREF colour) {
  OwnedBrush brush(CreateSolidBrush(colour));
  RECT rect{l, t, r, b};
  FillRect(dc, &rect, brush);
}

void Stroke(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int width) {
  OwnedPen pen(CreatePen(PS_SOLID, width, colour));
  SelectedObject selected(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}

void PaintPicture(HDC dc, MenuPictures::Picture picture) {
  switch (picture) {
    case MenuPictures::kSettings:  // a slider panel
      Box(dc, 1, 2, 15, 14, RGB(120, 120, 120));
      Box(dc, 2, 3, 14, 13, RGB(230, 230, 230));
      Stroke(dc, 4, 6, 12, 6, RGB(0, 0, 128), 1);
      Stroke(dc, 4, 10, 12, 10, RGB(0, 0, 128), 1);
      Box(dc, 9, 4, 11, 8, RGB(200, 120, 0));
      Box(dc, 5, 8, 7, 12, RGB(200, 120, 0));
      break;
    case MenuPictures::kClipboard:
      PaintClipboard(dc, false);
      break;
    case MenuPictures::kSave:  // a disk
      Box(dc, 2, 2, 14, 14, RGB(0, 60, 160));
      Box(dc, 4, 3, 12, 7, RGB(255, 255, 255));
      Box(dc, 5, 10, 11, 14, RGB(160, 160, 160));
      break;
    case MenuPictures::kClear:  // a red cross over a page
      Box(dc, 3, 1, 13, 15, RGB(255, 255, 255));
      Stroke(dc, 4, 4, 12, 12, RGB(200, 0, 0), 2);
      Stroke(dc, 12, 4, 4, 12, RGB(200, 0, 0), 2);
      break;
    case MenuPictures::kQuit:  // an open door
      Box(dc, 3, 1, 12, 15, RGB(110, 70, 30));
      Box(dc, 5, 3, 10, 15, RGB(20, 20, 20));
      Stroke(dc, 8, 8, 14, 8, RGB(0, 150, 0), 2);
      break;
    default:
      break;
  }
}

}  // namespace

MenuPictures::MenuPictures() {
  WindowDc screen(nullptr);
  OwnedMemoryDc dc(CreateCompatibleDC(screen));
  for (int i = 0; i < kCount; ++i) {
    bitmaps_[i].reset(CreateCompatibleBitmap(screen, 16, 16));
    SelectedObject selected(dc, bitmaps_[i]);
    Box(dc, 0, 0, 16, 16, GetSysColor(COLOR_MENU));
    if (i == kClipboard) {
      // The clipboard painter fills black first; keep the menu's colour.
      OwnedMemoryDc scratch(CreateCompatibleDC(screen));
      OwnedBitmap board(CreateCompatibleBitmap(screen, 16, 16));
      SelectedObject boardSelected(scratch, board);
      PaintClipboard(scratch, false);
      TransparentBlt(dc, 0, 0, 16, 16, scratch, 0, 0, 16, 16, RGB(0, 0, 0));
    } else {
      PaintPicture(dc, static_cast<Picture>(i));
    }
  }
}

}  // namespace solvane::win32
