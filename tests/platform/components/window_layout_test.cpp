#include "platform/components/window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace solvane {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Inside(const Rect& inner, int width, int height) {
  return inner.left >= 0 && inner.top >= 0 && inner.right <= width && inner.bottom <= height;
}

TEST(DpiScaleTest, RoundsHalvesAwayFromZeroAsMulDivDoes) {
  EXPECT_EQ(DpiScale(144)(13), 20);    // 19.5
  EXPECT_EQ(DpiScale(144)(-11), -17);  // -16.5: a font height
  EXPECT_EQ(DpiScale(120)(250), 313);  // 312.5
  EXPECT_EQ(DpiScale(120)(13), 16);    // 16.25
  EXPECT_EQ(DpiScale(0)(250), 250);    // a failed query is 96 DPI
}

// At 100 % scaling the program keeps every number it always had: files,
// tests and users' habits rely on them.
TEST(WindowLayoutTest, At96DpiEveryPlaceIsTheDesignsOwn) {
  const ClipWindowLayout clip = LayOutClipWindow(96);
  EXPECT_EQ(clip.width, 250);
  EXPECT_EQ(clip.height, 496);
  EXPECT_EQ(clip.titles, (Rect{8, 18, 241, 491}));
  EXPECT_EQ(clip.labels, (Rect{10, 20, 25, 490}));
  EXPECT_EQ(clip.lineHeight, 13);
  EXPECT_EQ(clip.checkColumn, 18);
  EXPECT_EQ(clip.titlePicture, (Rect{4, 1, 105, 17}));
  EXPECT_EQ(clip.buttons[0], (Rect{131, 2, 165, 18}));
  EXPECT_EQ(clip.buttons[3], (Rect{223, 2, 247, 18}));
  EXPECT_EQ(clip.searchLine, (Rect{4, 1, 96, 17}));
  EXPECT_EQ(clip.searchCount, (Rect{98, 2, 130, 16}));
  EXPECT_EQ(clip.noMatch, (Rect{28, 24, 236, 38}));
  EXPECT_EQ(clip.notice, (Rect{4, 1, 130, 17}));
  EXPECT_EQ(clip.fontHeight, -11);
  EXPECT_EQ(clip.pointerAfterHotkey.x, 247);
  EXPECT_EQ(clip.pointerAfterHotkey.y, 118);

  const SettingsLayout settings = LayOutSettings(96);
  EXPECT_EQ(settings.width, 236);
  EXPECT_EQ(settings.height, 302);
  EXPECT_EQ(settings.checkBoxes[0], (Rect{6, 49, 228, 66}));
  EXPECT_EQ(settings.dropDowns[1], (Rect{119, 123, 224, 323}));
  EXPECT_EQ(settings.ok, (Rect{71, 154, 157, 176}));
  EXPECT_EQ(settings.shareLabel, (Rect{6, 188, 224, 201}));
  EXPECT_EQ(settings.shareFolder, (Rect{6, 203, 199, 224}));
  EXPECT_EQ(settings.shareBrowse, (Rect{201, 203, 224, 224}));
  EXPECT_EQ(settings.passphraseLabel, (Rect{6, 230, 224, 243}));
  EXPECT_EQ(settings.passphrase, (Rect{6, 245, 224, 266}));
  EXPECT_EQ(settings.pointerOnActivate.x, 135);
  EXPECT_EQ(settings.pointerOnActivate.y, 194);
}

class ScaledLayoutTest : public ::testing::TestWithParam<int> {};

TEST_P(ScaledLayoutTest, TheClipWindowKeepsItsShapeAtAnyScaling) {
  const int dpi = GetParam();
  const ClipWindowLayout l = LayOutClipWindow(dpi);
  EXPECT_EQ(l.width, (250 * dpi + 48) / 96);
  EXPECT_EQ(l.lineHeight, (13 * dpi + 48) / 96);
  // The labels stand on the list's lines, inside its left edge, as high.
  EXPECT_GT(l.labels.left, l.titles.left);
  EXPECT_LE(l.labels.width(), l.checkColumn);
  EXPECT_GE(l.labels.height(), l.titles.height() - 2 * (l.labels.top - l.titles.top));
  // The buttons side by side, in the window, clear of the search line, its
  // count and the notice.
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Inside(l.buttons[i], l.width, l.titles.top)) << i;
    if (i > 0) EXPECT_EQ(l.buttons[i].left, l.buttons[i - 1].right);
    for (const Rect& search : {l.searchLine, l.searchCount, l.notice, l.titlePicture}) {
      EXPECT_FALSE(Overlap(search, l.buttons[i])) << i;
    }
  }
  EXPECT_FALSE(Overlap(l.searchLine, l.searchCount));
  EXPECT_TRUE(Inside(l.titles, l.width, l.height));
  EXPECT_LT(l.pointerAfterHotkey.x, l.width);
  EXPECT_LT(l.pointerAfterHotkey.y, l.height);
}

TEST_P(ScaledLayoutTest, NoSettingsControlOverlapsAnother) {
  const SettingsLayout l = LayOutSettings(GetParam());
  const Rect sharing[] = {l.shareLabel, l.shareFolder, l.shareBrowse, l.passphraseLabel, l.passphrase};
  // The drop-downs as they stand closed, a line of the font high plus their
  // frame; their lists drop over the rest.
  std::vector<Rect> controls = {
      l.banner, l.checkBoxes[0], l.checkBoxes[1], l.checkBoxes[2], l.dropDownLabels[0], l.dropDownLabels[1], l.ok};
  for (Rect drop : l.dropDowns) {
    drop.bottom = drop.top + DpiScale(GetParam())(21);
    controls.push_back(drop);
  }
  // The sharing's rows lie below all the rest, and leave the room below
  // them that OK had in the dialog before they came.
  int above = 0;
  for (const Rect& old : controls) above = std::max(above, old.bottom);
  for (const Rect& row : sharing) {
    EXPECT_GT(row.top, above);
    EXPECT_LE(row.bottom, l.passphrase.bottom);
  }
  EXPECT_EQ(l.height - l.passphrase.bottom, DpiScale(GetParam())(212) - l.ok.bottom);
  // The browse button beside the folder's field, on its line.
  EXPECT_EQ(l.shareBrowse.top, l.shareFolder.top);
  EXPECT_EQ(l.shareBrowse.bottom, l.shareFolder.bottom);
  EXPECT_GT(l.shareBrowse.left, l.shareFolder.right);
  controls.insert(controls.end(), std::begin(sharing), std::end(sharing));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_TRUE(Inside(controls[i], l.width, l.height)) << i;
    for (std::size_t j = i + 1; j < controls.size(); ++j) EXPECT_FALSE(Overlap(controls[i], controls[j])) << i << j;
  }
}

INSTANTIATE_TEST_SUITE_P(Scalings, ScaledLayoutTest, ::testing::Values(96, 120, 144, 192));

}  // namespace
}  // namespace solvane
