#include "platform/components/window_layout.h"

#include "platform/settings_dialog_events.h"

namespace solvane {

namespace {
// The top strip's buttons: 16 high, side by side up to the window's right.
constexpr int kButtonTop = 2, kButtonHeight = 16;
constexpr int kButtonEdges[5] = {131, 165, 194, 223, 247};

constexpr Rect At(int left, int top, int width, int height) { return Rect{left, top, left + width, top + height}; }
}  // namespace

ClipWindowLayout LayOutClipWindow(int dpi) {
  const DpiScale s(dpi);
  ClipWindowLayout l;
  l.dpi = s.dpi();
  l.width = s(250);
  l.height = s(496);
  l.titles = s(At(8, 18, 233, 473));
  l.labels = s(At(10, 20, 15, 470));
  l.lineHeight = s(13);
  l.checkColumn = s(18);
  l.titlePicture = s(At(4, 1, 101, 16));
  l.iconSize = s(16);
  l.captionIndent = s(19);
  for (int i = 0; i < 4; ++i) {
    l.buttons[i] = s(Rect{kButtonEdges[i], kButtonTop, kButtonEdges[i + 1], kButtonTop + kButtonHeight});
  }
  // The search line over the title picture, its count beside it up to the
  // buttons; with no match the count stands on the empty list instead.
  l.searchLine = s(At(4, 1, 92, 16));
  l.searchCount = s(Rect{98, 2, kButtonEdges[0] - 1, 16});
  l.noMatch = s(Rect{28, 24, 236, 38});
  l.notice = s(Rect{4, 1, kButtonEdges[0] - 1, 17});
  l.fontHeight = -s(11);
  l.pointerAfterHotkey = s(Point{247, 118});
  return l;
}

SettingsLayout LayOutSettings(int dpi) {
  const DpiScale s(dpi);
  SettingsLayout l;
  l.dpi = s.dpi();
  l.width = s(236);
  // Grown below OK by the sharing's rows, with the margin OK had below it.
  l.height = s(302);
  l.banner = s(At(6, 2, 217, 42));
  l.bannerTitle = s(Point{6 + 81, 2 + 5});
  l.bannerMaker = s(Point{6 + 56, 2 + 21});
  l.checkBoxes[0] = s(At(6, 49, 222, 17));
  l.checkBoxes[1] = s(At(6, 67, 117, 17));
  l.checkBoxes[2] = s(At(6, 85, 88, 17));
  l.dropDownLabels[0] = s(At(6, 108, 110, 13));
  l.dropDownLabels[1] = s(At(119, 108, 100, 13));
  l.dropDowns[0] = s(At(6, 123, 105, 200));
  l.dropDowns[1] = s(At(119, 123, 105, 200));
  l.ok = s(At(kSettingsOkLeft, kSettingsOkTop, 86, 22));
  // Labels and fields spaced as the drop-downs' are, their right edge the
  // drop-downs'; fields as high as a closed drop-down.
  l.shareLabel = s(At(6, 188, 218, 13));
  l.shareFolder = s(At(6, 203, 193, 21));
  l.shareBrowse = s(At(201, 203, 23, 21));
  l.passphraseLabel = s(At(6, 230, 218, 13));
  l.passphrase = s(At(6, 245, 218, 21));
  l.fontHeight = -s(11);
  l.pointerOnActivate = s(Point{kSettingsOkLeft + 64, kSettingsOkTop + 40});
  return l;
}

}  // namespace solvane
