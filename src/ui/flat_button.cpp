#include "ui/flat_button.h"

namespace solvane {

FlatButton::FlatButton(Canvas& canvas, std::string name, Colour buttonFace)
    : canvas_(canvas), caption_(std::move(name)), faceColour_(buttonFace) {}

void FlatButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  DrawNormal();
}

void FlatButton::SetFaceColour(Colour colour) {
  faceColour_ = colour;
  DrawNormal();
}

void FlatButton::SetBorderColour(Colour colour) {
  borderColour_ = colour;
  DrawNormal();
}

void FlatButton::SetShowCaption(bool show) {
  showCaption_ = show;
  DrawNormal();
}

void FlatButton::SetGlyph(int width, int height) {
  glyphWidth_ = width;
  glyphHeight_ = height;
  DrawNormal();
}

void FlatButton::DrawContent(int shift, Colour captionColour) {
  lastCaptionColour_ = captionColour;
  const TextSize text = canvas_.TextExtent(caption_);
  const int w = Width, h = Height, tw = text.width, th = text.height;
  const int gw = glyphWidth_, gh = glyphHeight_;
  const bool hasGlyph = gw > 0 && gh > 0;
  if (!hasGlyph) {
    if (showCaption_) canvas_.TextOut(w / 2 - tw / 2 + shift, h / 2 - th / 2 + shift, caption_, captionColour);
    return;
  }
  if (showCaption_) {
    const int left = w / 2 - (gw + tw) / 2 - 1 + shift;
    const int top = h / 2 - gh / 2 + shift;
    canvas_.DrawGlyph(Rect{left, top, left + gw + 1, top + gh});
    canvas_.TextOut(w / 2 + (gw - tw) / 2 + 4 + shift, h / 2 - th / 2 + shift, caption_, captionColour);
    return;
  }
  const int left = w / 2 - gw / 2 + shift;
  const int top = h / 2 - gh / 2 + shift;
  canvas_.DrawGlyph(Rect{left, top, left + gw, top + gh});
}

void FlatButton::Frame() { canvas_.FrameRect(Rect{0, 0, Width, Height}, borderColour_); }

void FlatButton::DrawNormal() {
  canvas_.FillRect(Rect{1, 1, Width - 1, Height - 1}, faceColour_);
  DrawContent(0, CaptionColour);
  Frame();
}

void FlatButton::DrawHover() {
  const int w = Width, h = Height;
  canvas_.FillRect(Rect{1, 1, w - 1, h - 1}, OverColour);
  DrawContent(0, OverCaptionColour);
  Frame();
  canvas_.Line(0, h - 2, 0, 0, kLightEdge);
  canvas_.Line(0, 0, w - 1, 0, kLightEdge);
  canvas_.Line(w - 1, 0, w - 1, h, kDarkEdge);
  canvas_.Line(w, h - 1, -1, h - 1, kDarkEdge);
}

void FlatButton::DrawPressed() {
  const int w = Width, h = Height;
  canvas_.FillRect(Rect{1, 1, w - 1, h - 1}, DownColour);
  DrawContent(1, lastCaptionColour_);
  Frame();
  canvas_.Line(w - 1, 0, w - 1, h, kLightEdge);
  canvas_.Line(w, h - 1, -1, h - 1, kLightEdge);
  canvas_.Line(0, h - 2, 0, 0, kDarkEdge);
  canvas_.Line(0, 0, w - 1, 0, kDarkEdge);
}

void FlatButton::Paint() { DrawNormal(); }

void FlatButton::MouseEnter() {
  if (enabled_) DrawHover();
}

void FlatButton::MouseLeave() { DrawNormal(); }

void FlatButton::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  if (button != MouseButton::Left || !enabled_) return;
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
  DrawPressed();
}

void FlatButton::MouseUp(MouseButton button, unsigned shift, int x, int y, bool stillOver) {
  if (button != MouseButton::Left || !enabled_) return;
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
  if (stillOver) DrawHover();
}

void FlatButton::Click() {
  DrawNormal();
  if (enabled_ && OnClick) OnClick();
}

}  // namespace solvane
