#include "platform/tray_icon.h"

namespace solvane {

namespace {
constexpr unsigned kWmMouseMove = 0x0200, kWmLButtonDown = 0x0201, kWmLButtonUp = 0x0202,
                   kWmLButtonDblClk = 0x0203, kWmRButtonDown = 0x0204, kWmRButtonUp = 0x0205,
                   kWmRButtonDblClk = 0x0206, kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208,
                   kWmMButtonDblClk = 0x0209;
}

TrayIcon::TrayIcon(TrayApi& api) : api_(api), taskbarCreated_(api.TaskbarCreatedMessage()) {
  window_ = api_.CreateUtilWindow([this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return HandleMessage(message, wParam, lParam);
  });
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
  record_.cbSize = 88;
  record_.hWnd = window_;
  record_.uID = 0;
  record_.uFlags = 7;
  record_.uCallbackMessage = kTrayCallbackMessage;
  record_.hIcon = icon_;
  record_.szTip = hint_.substr(0, hint_.find('|')).substr(0, 63);
}

void TrayIcon::Show() {
  Remove();
  if (icon_ == 0) return;
  leftClicked_ = rightClicked_ = false;
  FillRecord();
  added_ = api_.NotifyIcon(kNimAdd, record_);
  if (record_.szTip.empty() && added_) api_.NotifyIcon(kNimModify, record_);
}

void TrayIcon::Remove() {
  api_.NotifyIcon(kNimDelete, record_);
  added_ = false;
  leftClicked_ = rightClicked_ = false;
}

void TrayIcon::UpdateIcon() {
  if (added_) {
    if (icon_ == 0) {
      Remove();
    } else {
      FillRecord();
      api_.NotifyIcon(kNimModify, record_);
    }
  }
  if (!added_ && active_) Show();
}

std::intptr_t TrayIcon::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  // A restarted notification area knows no icons: add ours again, with its
  // current picture and hint.
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    if (active_) Show();
    return 0;
  }
  if (message != kTrayCallbackMessage || !enabled_) return api_.DefaultProc(window_, message, wParam, lParam);
  try {
    Dispatch(static_cast<unsigned>(lParam));
  } catch (const std::exception& error) {
    if (OnError) OnError(error);
  }
  return 0;
}

void TrayIcon::Dispatch(unsigned mouseMessage) {
  const ScreenPoint at = api_.CursorPos();
  const unsigned shift = api_.KeyShiftState();
  switch (mouseMessage) {
    case kWmMouseMove:
      if (OnMouseMove) OnMouseMove(shift, at.x, at.y);
      break;
    case kWmLButtonDown:
      if (OnMouseDown) OnMouseDown(MouseButton::Left, shift | kShiftLeft, at.x, at.y);
      leftClicked_ = true;
      break;
    case kWmLButtonUp:
      if (leftClicked_) {
        leftClicked_ = false;
        Click(MouseButton::Left, shift | kShiftLeft, at.x, at.y);
      }
      if (OnMouseUp) OnMouseUp(MouseButton::Left, shift | kShiftLeft, at.x, at.y);
      break;
    case kWmLButtonDblClk:
      DoubleClick();
      if (OnMouseDown) OnMouseDown(MouseButton::Left, shift | kShiftDouble, at.x, at.y);
      break;
    case kWmRButtonDown:
      if (OnMouseDown) OnMouseDown(MouseButton::Right, shift | kShiftRight, at.x, at.y);
      rightClicked_ = true;
      break;
    case kWmRButtonUp:
      if (rightClicked_) {
        rightClicked_ = false;
        Click(MouseButton::Right, shift | kShiftRight, at.x, at.y);
      }
      if (OnMouseUp) OnMouseUp(MouseButton::Right, shift | kShiftRight, at.x, at.y);
      break;
    case kWmRButtonDblClk:
      if (OnMouseDown) OnMouseDown(MouseButton::Right, shift | kShiftDouble, at.x, at.y);
      break;
    case kWmMButtonDown:
      if (OnMouseDown) OnMouseDown(MouseButton::Middle, shift | kShiftMiddle, at.x, at.y);
      break;
    case kWmMButtonUp:
      if (OnMouseUp) OnMouseUp(MouseButton::Middle, shift | kShiftMiddle, at.x, at.y);
      break;
    case kWmMButtonDblClk:
      if (OnMouseDown) OnMouseDown(MouseButton::Middle, shift | kShiftDouble, at.x, at.y);
      break;
    default:
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
  popupMenu_->Popup(ScreenPoint{x, y});
  return true;
}

void TrayIcon::DoubleClick() {
  if (popupMenu_ != nullptr && popupMenu_->ClickDefaultItem()) return;
  if (OnDblClick) OnDblClick();
}

}  // namespace solvane
