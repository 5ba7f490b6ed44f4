#include "platform/components/hint_placement.h"

#include <gtest/gtest.h>

namespace solvane {
namespace {

// A 1280x800 desktop with a 30-pixel taskbar at the bottom.
const Rect kWork{0, 0, 1280, 770};

TEST(HintPlacementTest, BelowThePointerWhenItFits) {
  EXPECT_EQ(PlaceHint(100, 200, 300, 550, kWork, 20), (Rect{100, 220, 400, 770}));
}

TEST(HintPlacementTest, AboveThePointerWhenBelowRunsOff) {
  EXPECT_EQ(PlaceHint(100, 600, 300, 550, kWork, 20), (Rect{100, 50, 400, 600}));
  // A pointer on the taskbar: above it would still end under the work area.
  EXPECT_EQ(PlaceHint(100, 790, 300, 100, kWork, 20), (Rect{100, 670, 400, 770}));
}

TEST(HintPlacementTest, MovedUpAndLeftWhenNeitherFits) {
  EXPECT_EQ(PlaceHint(1200, 400, 300, 550, kWork, 20), (Rect{980, 220, 1280, 770}));
  // On a second monitor left of the first, and a hint higher than its work area.
  const Rect left{-1024, 100, 0, 868};
  EXPECT_EQ(PlaceHint(-50, 500, 1100, 900, left, 20), (Rect{-1024, 100, 76, 1000}));
}

TEST(HintPlacementTest, AWindowOffEveryScreenComesBackOntoTheNearest) {
  // A 1280x770 work area, and a second screen of 1024x738 to its left.
  const std::vector<Rect> screens{kWork, {-1024, 30, 0, 768}};
  // Touching a work area, even by a pixel: where the user put it.
  for (const Rect& placed : {Rect{1279, 100, 1529, 596}, Rect{-1100, -400, -850, 96}}) {
    EXPECT_EQ(KeepOnScreen(placed, screens), placed);
  }
  // Right of the first screen and below: into its bottom-right corner.
  EXPECT_EQ(KeepOnScreen({1500, 900, 1750, 1396}, screens), (Rect{1030, 274, 1280, 770}));
  // Far left: onto the second screen, at its left edge and the same height.
  EXPECT_EQ(KeepOnScreen({-3000, 100, -2750, 596}, screens), (Rect{-1024, 100, -774, 596}));
  // Larger than the work area: its top-left corner at the area's.
  EXPECT_EQ(KeepOnScreen({-3000, -3000, -1000, -2000}, {kWork}), (Rect{0, 0, 2000, 1000}));
  // No screen known: nowhere better to go.
  EXPECT_EQ(KeepOnScreen({-3000, 0, -2750, 496}, {}), (Rect{-3000, 0, -2750, 496}));
}

// Every character 6 pixels wide.
int Measure(std::string_view line) { return static_cast<int>(line.size()) * 6; }

using Lines = std::vector<std::string>;

TEST(HintPlacementTest, TextThatFitsIsKept) {
  EXPECT_EQ(FitHintText("one\r\ntwo\nthree\r", 60, 4, Measure), (Lines{"one", "two", "three"}));
}

TEST(HintPlacementTest, WideLinesAndTooManyLinesEndInDots) {
  const std::string wide(5000, 'w');
  EXPECT_EQ(FitHintText("ab\r\n" + wide + "\r\ncd", 60, 3, Measure), (Lines{"ab", "wwwwwww...", "cd"}));
  EXPECT_EQ(FitHintText("a\r\nb\r\nc\r\nd", 60, 2, Measure), (Lines{"a", "b..."}));
  EXPECT_EQ(FitHintText("a\r\nbbbbbbbbbb\r\nc", 60, 2, Measure), (Lines{"a", "bbbbbbb..."}));
}

}  // namespace
}  // namespace solvane
