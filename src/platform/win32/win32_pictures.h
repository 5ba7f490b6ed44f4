#pragma once
// The program's pictures, painted at run time: the tray icons and the
// tray menu's item pictures.

#include <windows.h>

#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

// A square icon of `size` pixels (16 at 96 DPI): a clipboard, with a red
// mark when `marked`. Owns it.
class ClipboardIcon {
 public:
  ClipboardIcon(bool marked, int size);
  HICON get() const { return icon_.get(); }

 private:
  OwnedIcon icon_;
};

// The 16 x 16 pictures of the tray menu's items, drawn on the menu's colour.
class MenuPictures {
 public:
  enum Picture { kSettings, kClipboard, kSave, kClear, kQuit, kCount };
  MenuPictures();
  HBITMAP get(Picture picture) const { return bitmaps_[picture].get(); }

 private:
  OwnedBitmap bitmaps_[kCount];
};

}  // namespace solvane::win32
