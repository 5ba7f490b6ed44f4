#include "ui/flat_button.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace solvane {
namespace {

// Paints the button's pixels as the screen would and notes where each text
// and glyph went, so that a test checks what the user sees, not the calls.
class PixelCanvas : public Canvas {
 public:
  struct Text {
    int x, y;
    std::string text;
    Colour colour;
  };
  static constexpr int kWidth = 86, kHeight = 22;
  static constexpr Colour kUnpainted = 0xFFFFFFFF;

  void FillRect(const Rect& r, Colour c) override {
    ++draws;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) Put(x, y, c);
  }
  void FrameRect(const Rect& r, Colour c) override {
    ++draws;
    for (int x = r.left; x < r.right; ++x) Put(x, r.top, c), Put(x, r.bottom - 1, c);
    for (int y = r.top; y < r.bottom; ++y) Put(r.left, y, c), Put(r.right - 1, y, c);
  }
  // Straight lines only, as the button draws; the end point is left out.
  void Line(int x1, int y1, int x2, int y2, Colour c) override {
    ++draws;
    ASSERT_TRUE(x1 == x2 || y1 == y2) << "a slanted line";
    const int dx = (x2 > x1) - (x2 < x1), dy = (y2 > y1) - (y2 < y1);
    for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) Put(x, y, c);
  }
  void TextOut(int x, int y, const std::string& text, Colour c) override {
    ++draws;
    texts.push_back({x, y, text, c});
  }
  TextSize TextExtent(const std::string& text) override { return {7 * static_cast<int>(text.size()), 13}; }
  void DrawGlyph(const Rect& r) override {
    ++draws;
    glyphs.push_back(r);
  }

  Colour At(int x, int y) const { return pixels[y * kWidth + x]; }
  // The one colour of every pixel from (x1, y1) to (x2, y2) inclusive; none
  // when they differ.
  std::optional<Colour> Uniform(int x1, int y1, int x2, int y2) const {
    const Colour first = At(x1, y1);
    for (int y = y1; y <= y2; ++y)
      for (int x = x1; x <= x2; ++x)
        if (At(x, y) != first) return std::nullopt;
    return first;
  }
  // The next paint's texts and glyphs only; the pixels stay, as on screen.
  void Forget() {
    texts.clear();
    glyphs.clear();
    draws = 0;
  }

  std::vector<Text> texts;
  std::vector<Rect> glyphs;
  int draws = 0;

 private:
  void Put(int x, int y, Colour c) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) pixels[y * kWidth + x] = c;
  }
  std::vector<Colour> pixels = std::vector<Colour>(kWidth * kHeight, kUnpainted);
};

constexpr Colour kFace = Rgb(231, 223, 173), kBorder = Rgb(153, 143, 130), kOver = Rgb(223, 191, 115),
                 kDown = Rgb(200, 180, 20);
constexpr int kW = PixelCanvas::kWidth, kH = PixelCanvas::kHeight;

class FlatButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.SetFaceColour(kFace);
    button.OverColour = kOver;
    button.DownColour = kOver;
    button.SetCaption("OK");
    canvas.Forget();
  }

  // The inside, within the one-pixel edge.
  std::optional<Colour> Face() const { return canvas.Uniform(1, 1, kW - 2, kH - 2); }
  // The top and left edges in one colour, the bottom and right in another;
  // corners left out, where raised and sunken lines meet.
  bool Edges(Colour topLeft, Colour bottomRight) const {
    return canvas.Uniform(1, 0, kW - 2, 0) == topLeft && canvas.Uniform(0, 1, 0, kH - 2) == topLeft &&
           canvas.Uniform(1, kH - 1, kW - 2, kH - 1) == bottomRight &&
           canvas.Uniform(kW - 1, 1, kW - 1, kH - 2) == bottomRight;
  }
  bool Raised() const { return Edges(kLightEdge, kDarkEdge); }
  bool Sunken() const { return Edges(kDarkEdge, kLightEdge); }
  // The whole one-pixel edge, corners too, in one colour.
  bool FramedIn(Colour c) const {
    return Edges(c, c) && canvas.At(0, 0) == c && canvas.At(kW - 1, 0) == c && canvas.At(0, kH - 1) == c &&
           canvas.At(kW - 1, kH - 1) == c;
  }
  // The one caption of the last paint.
  PixelCanvas::Text Caption() const {
    EXPECT_EQ(canvas.texts.size(), 1u);
    return canvas.texts.empty() ? PixelCanvas::Text{} : canvas.texts.back();
  }
  // Centred to within the half pixel an odd size leaves over.
  static ::testing::AssertionResult Centred(int left, int top, int width, int height) {
    const int offX = 2 * left + width - kW, offY = 2 * top + height - kH;
    if (offX >= -1 && offX <= 1 && offY >= -1 && offY <= 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << width << "x" << height << " at " << left << "," << top
                                         << " is off the centre by " << offX / 2.0 << "," << offY / 2.0;
  }
  ::testing::AssertionResult CaptionCentred(const PixelCanvas::Text& t) {
    const TextSize size = canvas.TextExtent(t.text);
    return Centred(t.x, t.y, size.width, size.height);
  }

  PixelCanvas canvas;
  FlatButton button{canvas, "EncartaButton1", 0xC0C0C0};
};

TEST_F(FlatButtonTest, NormalLookIsTheFaceColourInsideTheBorderColourWithTheCaptionCentred) {
  button.CaptionColour = Rgb(9, 8, 7);
  button.Paint();
  EXPECT_EQ(Face(), kFace);
  EXPECT_TRUE(FramedIn(kBorder));
  EXPECT_EQ(Caption().text, "OK");
  EXPECT_EQ(Caption().colour, Rgb(9, 8, 7));
  EXPECT_TRUE(CaptionCentred(Caption()));
}

TEST_F(FlatButtonTest, HoverFillsWithTheHoverColourAndRaisesTheEdges) {
  button.OverCaptionColour = Rgb(1, 2, 3);
  button.MouseEnter();
  EXPECT_EQ(Face(), kOver);
  EXPECT_TRUE(Raised());
  EXPECT_EQ(Caption().colour, Rgb(1, 2, 3));
  EXPECT_TRUE(CaptionCentred(Caption()));
}

TEST_F(FlatButtonTest, PressedFillsWithThePressedColourSinksTheEdgesAndMovesTheCaptionOnePixelDownRight) {
  button.DownColour = kDown;
  button.OverCaptionColour = Rgb(1, 2, 3);
  button.MouseEnter();
  const PixelCanvas::Text hover = Caption();
  int downs = 0;
  button.OnMouseDown = [&](MouseButton, unsigned, int x, int y) {
    ++downs;
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 5);
  };
  canvas.Forget();
  button.MouseDown(MouseButton::Left, kShiftLeft, 10, 5);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(Face(), kDown);
  EXPECT_TRUE(Sunken());
  EXPECT_EQ(Caption().x, hover.x + 1);
  EXPECT_EQ(Caption().y, hover.y + 1);
  EXPECT_EQ(Caption().colour, Rgb(1, 2, 3));  // the colour it had under the pointer
}

TEST_F(FlatButtonTest, ClickShowsTheNormalLookBeforeItsEventAndAReleaseOverTheButtonShowsHover) {
  std::vector<std::string> order;
  button.OnClick = [&]() {
    order.push_back("click");
    EXPECT_EQ(Face(), kFace) << "the click's handler runs over the normal look";
    EXPECT_TRUE(FramedIn(kBorder));
  };
  button.OnMouseUp = [&](MouseButton, unsigned, int, int) { order.push_back("up"); };
  button.MouseDown(MouseButton::Left, 0, 1, 1);
  button.Click();
  button.MouseUp(MouseButton::Left, 0, 1, 1, /*stillOver=*/true);
  EXPECT_EQ(order, (std::vector<std::string>{"click", "up"}));
  EXPECT_EQ(Face(), kOver);
  EXPECT_TRUE(Raised());
}

TEST_F(FlatButtonTest, ReleaseOffTheButtonKeepsThePressedLook) {
  button.DownColour = kDown;
  button.MouseDown(MouseButton::Left, 0, 1, 1);
  canvas.Forget();
  int ups = 0;
  button.OnMouseUp = [&](MouseButton, unsigned, int, int) { ++ups; };
  button.MouseUp(MouseButton::Left, 0, 200, 1, /*stillOver=*/false);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(canvas.draws, 0);
  EXPECT_EQ(Face(), kDown);
  EXPECT_TRUE(Sunken());
}

TEST_F(FlatButtonTest, DisabledButtonIgnoresHoverAndPressButRepaintsNormallyOnAClickWithoutItsEvent) {
  button.SetEnabled(false);
  int events = 0;
  button.OnClick = [&]() { ++events; };
  button.OnMouseDown = [&](MouseButton, unsigned, int, int) { ++events; };
  button.MouseEnter();
  button.MouseDown(MouseButton::Left, 0, 1, 1);
  EXPECT_EQ(canvas.draws, 0);
  button.Click();
  EXPECT_EQ(events, 0);
  EXPECT_EQ(Face(), kFace);
  EXPECT_TRUE(FramedIn(kBorder));
  EXPECT_TRUE(CaptionCentred(Caption()));
}

TEST_F(FlatButtonTest, RightAndMiddleButtonsNeitherRaiseEventsNorRepaint) {
  int events = 0;
  button.OnMouseDown = [&](MouseButton, unsigned, int, int) { ++events; };
  button.OnMouseUp = [&](MouseButton, unsigned, int, int) { ++events; };
  button.MouseDown(MouseButton::Right, 0, 1, 1);
  button.MouseUp(MouseButton::Right, 0, 1, 1, true);
  button.MouseDown(MouseButton::Middle, 0, 1, 1);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(canvas.draws, 0);
}

TEST_F(FlatButtonTest, GlyphSitsLeftOfTheCaptionOrAloneInTheCentre) {
  button.SetGlyph(16, 10);
  ASSERT_EQ(canvas.glyphs.size(), 1u);
  const Rect glyph = canvas.glyphs[0];
  EXPECT_EQ(glyph.right - glyph.left, 17);  // drawn one pixel wider than set
  EXPECT_EQ(glyph.bottom - glyph.top, 10);
  EXPECT_EQ(Caption().x, glyph.right + 4);  // the caption four pixels right of it
  // Both on the middle line; together they sit in the middle to within two
  // pixels (sums of both ends: twice the middle).
  EXPECT_EQ(2 * glyph.top + 10, kH);
  EXPECT_LE(std::abs(2 * Caption().y + 13 - kH), 1);
  EXPECT_LE(std::abs(glyph.left + Caption().x + 14 - kW), 4);

  canvas.Forget();
  button.SetShowCaption(false);
  ASSERT_EQ(canvas.glyphs.size(), 1u);
  EXPECT_TRUE(canvas.texts.empty());
  const Rect alone = canvas.glyphs[0];
  EXPECT_TRUE(Centred(alone.left, alone.top, alone.right - alone.left, alone.bottom - alone.top));
  EXPECT_EQ(alone.right - alone.left, 16);  // at its own size
}

TEST_F(FlatButtonTest, SettersRepaintTheNormalLookAtOnce) {
  button.MouseEnter();
  canvas.Forget();
  button.SetCaption("Apply");
  EXPECT_EQ(Face(), kFace);
  EXPECT_TRUE(FramedIn(kBorder));
  EXPECT_EQ(Caption().text, "Apply");
  EXPECT_TRUE(CaptionCentred(Caption()));
}

}  // namespace
}  // namespace solvane
