#pragma once
// FlatButton: a flat push button. Normal: a filled face in a one-pixel
// border; hover: the hover colour with a raised frame; pressed: the pressed
// colour with a sunken frame and the content one pixel lower and further
// right. It has its own Enabled flag and events.

#include <functional>
#include <string>

#include "platform/canvas.h"
#include "platform/button_events.h"

namespace solvane {

inline constexpr Colour kLightEdge = Rgb(248, 244, 237);
inline constexpr Colour kDarkEdge = Rgb(79, 79, 79);

class FlatButton final : public ButtonEvents {
 public:
  using MouseEvent = std::function<void(MouseButton button, unsigned shift, int x, int y)>;
  using NotifyEvent = std::function<void()>;

  // `canvas` draws on the button's own area; `width` and `height` its size.
  FlatButton(Canvas& canvas, std::string name, Colour buttonFace);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  Colour FaceColour() const { return faceColour_; }
  void SetFaceColour(Colour colour);
  void SetBorderColour(Colour colour);
  void SetShowCaption(bool show);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  // The face under the pointer and pressed, the caption under the pointer,
  // and the caption in the normal look.
  Colour OverColour = Rgb(216, 190, 10);
  Colour DownColour = Rgb(216, 190, 10);
  Colour OverCaptionColour = 0;
  Colour CaptionColour = 0;
  // Glyph size; 0 x 0 is no glyph.
  void SetGlyph(int width, int height);

  int Width = 86, Height = 22;

  MouseEvent OnMouseDown, OnMouseUp;
  NotifyEvent OnClick;

  // What the platform reports.
  void Paint() override;  // the system's repaint: always the normal look
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override;
  // `stillOver`: the pointer is over the button at the release.
  void MouseUp(MouseButton button, unsigned shift, int x, int y, bool stillOver) override;
  void Click() override;
  void Resize(int width, int height) override {
    Width = width;
    Height = height;
  }

 private:
  void DrawNormal();
  void DrawHover();
  void DrawPressed();
  void DrawContent(int shift, Colour captionColour);
  void Frame();

  Canvas& canvas_;
  std::string caption_;
  Colour faceColour_;
  Colour borderColour_ = Rgb(153, 143, 130);
  bool showCaption_ = true;
  bool enabled_ = true;
  int glyphWidth_ = 0, glyphHeight_ = 0;
  Colour lastCaptionColour_ = 0;
};

}  // namespace solvane
