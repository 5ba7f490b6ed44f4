#pragma once
// Where every control of the clip window and of the settings dialog lies,
// at a DPI: the 96-DPI design, each length scaled (DpiScale). Both windows
// lay themselves out from these when made and again when they move to a
// screen of another DPI.

#include "platform/dpi.h"

namespace solvane {

struct ClipWindowLayout {
  int dpi = kDesignDpi;
  int width = 0, height = 0;  // the window's outer size
  // In the window's client area. The label column's top is the title
  // list's client top, which the list's border decides; `labels` holds the
  // place the column takes when that border is 2 pixels at 96 DPI.
  Rect titles, labels;
  int lineHeight = 0;   // the title list's and the label column's lines
  int checkColumn = 0;  // the tick box column at each line's left
  Rect titlePicture;    // the clipboard icon and the caption beside it
  int iconSize = 0;     // the title picture's icon, a square
  int captionIndent = 0;
  // The option buttons left to right: run to top, "+CR", "+cR", hide.
  Rect buttons[4];
  Rect searchLine, searchCount, noMatch, notice;
  int fontHeight = 0;  // the list's, the buttons' and the caption's font, as CreateFont takes it
  // Where the pointer goes when the hotkey shows the window, from its
  // top-left corner: at the right edge, beside the list's upper lines.
  Point pointerAfterHotkey;
};

ClipWindowLayout LayOutClipWindow(int dpi);

// The settings dialog's controls, in its client area.
struct SettingsLayout {
  int dpi = kDesignDpi;
  int width = 0, height = 0;  // the dialog's outer size
  Rect banner;
  Point bannerTitle, bannerMaker;  // where the banner's two texts start
  Rect checkBoxes[3];              // autosave, prompt at Clear Clips, prompt at Quit
  Rect dropDownLabels[2];          // hotkey, paste delay
  Rect dropDowns[2];               // with their lists dropped down
  Rect ok;
  // Below the rest: the shared folder's label, its field and the browse
  // button beside it, then the passphrase's label and field.
  Rect shareLabel, shareFolder, shareBrowse;
  Rect passphraseLabel, passphrase;
  int fontHeight = 0;
  // Where the pointer goes when the dialog is activated: from the dialog's
  // top-left corner, on the OK button.
  Point pointerOnActivate;
};

SettingsLayout LayOutSettings(int dpi);

}  // namespace solvane
