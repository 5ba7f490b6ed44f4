#include "ui/encarta_button.h"

#include <gtest/gtest.h>

#include <sstream>

namespace solvane {
namespace {

// Writes down every drawing call as text.
class RecordingCanvas : public Canvas {
 public:
  void FillRect(const Rect& r, Colour c) override { Log() << "fill " << R(r) << " " << c; }
  void FrameRect(const Rect& r, Colour c) override { Log() << "frame " << R(r) << " " << c; }
  void Line(int x1, int y1, int x2, int y2, Colour c) override {
    Log() << "line " << x1 << "," << y1 << "-" << x2 << "," << y2 << " " << c;
  }
  void TextOut(int x, int y, const std::string& text, Colour c) override {
    Log() << "text " << x << "," << y << " " << text << " " << c;
  }
  TextSize TextExtent(const std::string& text) override { return {7 * static_cast<int>(text.size()), 13}; }
  void DrawGlyph(const Rect& r) override { Log() << "glyph " << R(r); }

  std::vector<std::string> calls;

 private:
  struct Entry {
    std::vector<std::string>& calls;
    std::ostringstream text;
    ~Entry() { calls.push_back(text.str()); }
    template <typename T>
    Entry& operator<<(const T& value) {
      text << value;
      return *this;
    }
  };
  Entry Log() { return Entry{calls, {}}; }
  static std::string R(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
  }
};

using Calls = std::vector<std::string>;
constexpr Colour kFace = 11395047, kBorder = 8556441, kOver = 7585759;

class EncartaButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.SetColor(kFace);
    button.ColorOver = kOver;
    button.ColorDown = kOver;
    button.SetCaption("OK");
    canvas.calls.clear();
  }
  RecordingCanvas canvas;
  TEncartaButton button{canvas, "EncartaButton1", 0xC0C0C0};
};

// "OK" is 14 x 13 here: caption at 43 - 7, 11 - 6.
TEST_F(EncartaButtonTest, NormalLookIsFaceCaptionAndBorder) {
  button.Paint();
  EXPECT_EQ(canvas.calls, (Calls{"fill 1,1,85,21 " + std::to_string(kFace), "text 36,5 OK 0",
                                 "frame 0,0,86,22 " + std::to_string(kBorder)}));
}

TEST_F(EncartaButtonTest, HoverAddsRaisedEdgesOverTheFrame) {
  button.MouseEnter();
  EXPECT_EQ(canvas.calls, (Calls{"fill 1,1,85,21 " + std::to_string(kOver), "text 36,5 OK 0",
                                 "frame 0,0,86,22 " + std::to_string(kBorder), "line 0,20-0,0 15594744",
                                 "line 0,0-85,0 15594744", "line 85,0-85,22 5197647", "line 86,21--1,21 5197647"}));
}

TEST_F(EncartaButtonTest, PressedIsSunkenWithTheContentOnePixelOff) {
  button.ColorOverCaption = Rgb(1, 2, 3);
  button.MouseEnter();
  int downs = 0;
  button.OnMouseDown = [&](void*, MouseButton, unsigned, int x, int y) {
    ++downs;
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 5);
  };
  canvas.calls.clear();
  button.MouseDown(MouseButton::Left, kShiftLeft, 10, 5);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(canvas.calls,
            (Calls{"fill 1,1,85,21 " + std::to_string(kOver), "text 37,6 OK " + std::to_string(Rgb(1, 2, 3)),
                   "frame 0,0,86,22 " + std::to_string(kBorder), "line 85,0-85,22 15594744",
                   "line 86,21--1,21 15594744", "line 0,20-0,0 5197647", "line 0,0-85,0 5197647"}));
}

TEST_F(EncartaButtonTest, ClickRepaintsNormalThenRaisesTheEventAndReleaseShowsHover) {
  Calls order;
  button.OnClick = [&](void*) { order.push_back("click after " + std::to_string(canvas.calls.size())); };
  button.OnMouseUp = [&](void*, MouseButton, unsigned, int, int) { order.push_back("up"); };
  button.MouseDown(MouseButton::Left, 0, 1, 1);
  canvas.calls.clear();
  button.Click();
  button.MouseUp(MouseButton::Left, 0, 1, 1, /*stillOver=*/true);
  EXPECT_EQ(order, (Calls{"click after 3", "up"}));
  EXPECT_EQ(canvas.calls[0], "fill 1,1,85,21 " + std::to_string(kFace));
  EXPECT_EQ(canvas.calls[3], "fill 1,1,85,21 " + std::to_string(kOver));  // hover after the release
}

TEST_F(EncartaButtonTest, ReleaseOffTheButtonKeepsThePressedLook) {
  button.MouseDown(MouseButton::Left, 0, 1, 1);
  canvas.calls.clear();
  int ups = 0;
  button.OnMouseUp = [&](void*, MouseButton, unsigned, int, int) { ++ups; };
  button.MouseUp(MouseButton::Left, 0, 200, 1, /*stillOver=*/false);
  EXPECT_EQ(ups, 1);
  EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(EncartaButtonTest, DisabledButtonDrawsNormallyAndRaisesNothing) {
  button.SetEnabled(false);
  int events = 0;
  button.OnClick = [&](void*) { ++events; };
  button.OnMouseDown = [&](void*, MouseButton, unsigned, int, int) { ++events; };
  button.MouseEnter();
  button.MouseDown(MouseButton::Left, 0, 1, 1);
  EXPECT_TRUE(canvas.calls.empty());
  button.Click();
  EXPECT_EQ(events, 0);
  EXPECT_EQ(canvas.calls.size(), 3u);  // the click's normal repaint
}

TEST_F(EncartaButtonTest, OtherButtonsChangeNothing) {
  int events = 0;
  button.OnMouseDown = [&](void*, MouseButton, unsigned, int, int) { ++events; };
  button.OnMouseUp = [&](void*, MouseButton, unsigned, int, int) { ++events; };
  button.MouseDown(MouseButton::Right, 0, 1, 1);
  button.MouseUp(MouseButton::Right, 0, 1, 1, true);
  button.MouseDown(MouseButton::Middle, 0, 1, 1);
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(canvas.calls.empty());
}

TEST_F(EncartaButtonTest, GlyphLayouts) {
  button.SetGlyph(16, 10);  // with the caption: glyph one pixel wider, caption right of it
  EXPECT_EQ(canvas.calls[1], "glyph 27,6,44,16");
  EXPECT_EQ(canvas.calls[2], "text 48,5 OK 0");
  canvas.calls.clear();
  button.SetShowCaption(false);  // glyph alone, centred at its own size
  EXPECT_EQ(canvas.calls[1], "glyph 35,6,51,16");
  EXPECT_EQ(canvas.calls.size(), 3u);
}

TEST_F(EncartaButtonTest, SettersRepaintTheNormalLookAtOnce) {
  button.MouseEnter();
  canvas.calls.clear();
  button.SetCaption("Apply");
  EXPECT_EQ(canvas.calls[0], "fill 1,1,85,21 " + std::to_string(kFace));
  EXPECT_EQ(canvas.calls[1], "text 26,5 Apply 0");
}

}  // namespace
}  // namespace solvane
