#pragma once
// TrayIcon: the program's icon in the notification area. Each picture
// assignment updates the icon in place; a right-button release on it opens
// the tray menu at the pointer, a left double click raises OnDblClick.

#include <exception>
#include <functional>
#include <string>

#include "platform/tray_api.h"

namespace solvane {

class TrayIcon {
 public:
  using NotifyEvent = std::function<void()>;
  using MouseEvent = std::function<void(MouseButton button, unsigned shift, int x, int y)>;
  using MoveEvent = std::function<void(unsigned shift, int x, int y)>;
  using ErrorEvent = std::function<void(const std::exception& error)>;

  explicit TrayIcon(TrayApi& api);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  void Loaded();

  bool Active() const { return active_; }
  void SetActive(bool active);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  IconHandle Icon() const { return icon_; }
  // Every assignment updates the shown icon, even with the same picture.
  void SetIcon(IconHandle icon);
  void SetPopupMenu(TrayMenu* menu) { popupMenu_ = menu; }
  TrayMenu* PopupMenu() const { return popupMenu_; }

  NotifyEvent OnDblClick;
  MouseEvent OnClick, OnMouseDown, OnMouseUp;
  MoveEvent OnMouseMove;
  // Where an error raised by a handler goes (the application's error box).
  ErrorEvent OnError;

  bool added() const { return added_; }
  WindowHandle window() const { return window_; }

 private:
  void FillRecord();
  void Show();
  void Remove();
  void UpdateIcon();
  void OnRestart();
  void OnMouse(TrayMouse mouse);
  void Dispatch(TrayMouse mouse);
  void Click(MouseButton button, unsigned shift, int x, int y);
  bool Popup(int x, int y);
  void DoubleClick();

  TrayApi& api_;
  WindowHandle window_ = 0;
  TrayIconRecord record_;
  bool active_ = true;
  bool enabled_ = true;
  std::string hint_;
  IconHandle icon_ = 0;
  TrayMenu* popupMenu_ = nullptr;
  bool added_ = false;
  bool leftClicked_ = false;
  bool rightClicked_ = false;
};

}  // namespace solvane
