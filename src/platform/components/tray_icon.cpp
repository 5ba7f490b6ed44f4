#include "platform/components/tray_icon.h"

namespace solvane {

TrayIcon::TrayIcon(TrayApi& api) : api_(api) {
  window_ = api_.CreateUtilWindow(
      TrayWindowEvents{.onMouse = [this](TrayMouse mouse) { OnMouse(mouse); }, .onRestart = [this] { OnRestart(); }});
}

TrayIcon::~TrayIcon() {
  enabled_ = false;
  Remove();
  if (window_ != 0) api_.DestroyUtilWindow(window_);
}

void TrayIcon::Loaded() {
  if (active_) Show();
}

void TrayIcon::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  if (active_) {
    Show();
  } else {
    Remove();
  }
}

void TrayIcon::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  UpdateIcon();
}

void TrayIcon::SetIcon(IconHandle icon) {
  icon_ = icon;
  UpdateIcon();
}

void TrayIcon::FillRecord() {
  record_.window = window_;
  record_.id = 0;
  record_.icon = icon_;
  record_.tip = hint_.substr(0, hint_.find('|')).substr(0, 63);
}

void TrayIcon::Show() {
  Remove();
  if (icon_ == 0) return;
  leftClicked_ = rightClicked_ = false;
  FillRecord();
  added_ = api_.NotifyIcon(TrayOperation::kAdd, record_);
  if (record_.tip.empty() && added_) api_.NotifyIcon(TrayOperation::kModify, record_);
}

void TrayIcon::Remove() {
  api_.NotifyIcon(TrayOperation::kDelete, record_);
  added_ = false;
  leftClicked_ = rightClicked_ = false;
}

void TrayIcon::UpdateIcon() {
  if (added_) {
    if (icon_ == 0) {
      Remove();
    } else {
      FillRecord();
      api_.NotifyIcon(TrayOperation::kModify, record_);
    }
  }
  if (!added_ && active_) Show();
}

// A restarted notification area knows no icons: add ours again, with its
// current picture and hint.
void TrayIcon::OnRestart() {
  if (active_) Show();
}

void TrayIcon::OnMouse(TrayMouse mouse) {
  if (!enabled_) return;
  try {
    Dispatch(mouse);
  } catch (const std::exception& error) {
    if (OnError) OnError(error);
  }
}

void TrayIcon::Dispatch(TrayMouse mouse) {
  const Point at = api_.CursorPos();
  const unsigned shift = api_.KeyShiftState();
  switch (mouse) {
    case TrayMouse::kMove:
      if (OnMouseMove) OnMouseMove(shift, at.x, at.y);
      break;
    case TrayMouse::kLeftDown:
      if (OnMouseDown) OnMouseDown(MouseButton::Left, shift | kShiftLeft, at.x, at.y);
      leftClicked_ = true;
      break;
    case TrayMouse::kLeftUp:
      if (leftClicked_) {
        leftClicked_ = false;
        Click(MouseButton::Left, shift | kShiftLeft, at.x, at.y);
      }
      if (OnMouseUp) OnMouseUp(MouseButton::Left, shift | kShiftLeft, at.x, at.y);
      break;
    case TrayMouse::kLeftDouble:
      DoubleClick();
      if (OnMouseDown) OnMouseDown(MouseButton::Left, shift | kShiftDouble, at.x, at.y);
      break;
    case TrayMouse::kRightDown:
      if (OnMouseDown) OnMouseDown(MouseButton::Right, shift | kShiftRight, at.x, at.y);
      rightClicked_ = true;
      break;
    case TrayMouse::kRightUp:
      if (rightClicked_) {
        rightClicked_ = false;
        Click(MouseButton::Right, shift | kShiftRight, at.x, at.y);
      }
      if (OnMouseUp) OnMouseUp(MouseButton::Right, shift | kShiftRight, at.x, at.y);
      break;
    case TrayMouse::kRightDouble:
      if (OnMouseDown) OnMouseDown(MouseButton::Right, shift | kShiftDouble, at.x, at.y);
      break;
    case TrayMouse::kMiddleDown:
      if (OnMouseDown) OnMouseDown(MouseButton::Middle, shift | kShiftMiddle, at.x, at.y);
      break;
    case TrayMouse::kMiddleUp:
      if (OnMouseUp) OnMouseUp(MouseButton::Middle, shift | kShiftMiddle, at.x, at.y);
      break;
    case TrayMouse::kMiddleDouble:
      if (OnMouseDown) OnMouseDown(MouseButton::Middle, shift | kShiftDouble, at.x, at.y);
      break;
  }
}

void TrayIcon::Click(MouseButton button, unsigned shift, int x, int y) {
  if (button == MouseButton::Right && Popup(x, y)) return;
  if (OnClick) OnClick(button, shift, x, y);
}

bool TrayIcon::Popup(int x, int y) {
  if (!active_ || popupMenu_ == nullptr || !popupMenu_->AutoPopup()) return false;
  api_.CancelMouseCapture();
  // NOTE: a menu opened for a tray icon closes on an outside click only
  // when the icon's window is in the foreground, before and after.
  const bool enabled = api_.IsWindowEnabled(window_);
  if (enabled) api_.SetForegroundWindow(window_);
  api_.ProcessMessages();
  struct Refocus {
    TrayApi& api;
    WindowHandle window;
    bool enabled;
    ~Refocus() {
      if (enabled) api.SetForegroundWindow(window);
    }
  } refocus{api_, window_, enabled};
  popupMenu_->Popup(Point{x, y});
  return true;
}

void TrayIcon::DoubleClick() {
  if (popupMenu_ != nullptr && popupMenu_->ClickDefaultItem()) return;
  if (OnDblClick) OnDblClick();
}

}  // namespace solvane
