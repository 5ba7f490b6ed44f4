#pragma once
#include <windows.h>

#include <shellapi.h>

#include <functional>

#include "platform/tray_api.h"
#include "platform/win32/win32_message_window.h"
#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

// The message the shell sends the icon's window for the mouse on the icon
// (the mouse message in lParam).
inline constexpr UINT kTrayCallbackMessage = 0xB054;

// The shell's icon record for the program's icon: its first, shortest
// form, with a callback message, the icon and the tip.
NOTIFYICONDATAA NotifyIconData(const TrayIconRecord& record);

class Win32Tray : public TrayApi {
 public:
  explicit Win32Tray(HINSTANCE instance) : windows_(instance) {}
  WindowHandle CreateUtilWindow(TrayWindowEvents events) override;
  void DestroyUtilWindow(WindowHandle window) override;
  bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) override;
  Point CursorPos() override;
  unsigned KeyShiftState() override;
  bool IsWindowEnabled(WindowHandle window) override;
  void SetForegroundWindow(WindowHandle window) override;
  void ProcessMessages() override;
  void CancelMouseCapture() override { ReleaseCapture(); }

 private:
  MessageWindows windows_;
};

// A popup menu whose commands go to `owner` as WM_COMMAND. Owns the menu.
class Win32TrayMenu : public TrayMenu {
 public:
  Win32TrayMenu(OwnedMenu menu, HWND owner) : menu_(std::move(menu)), owner_(owner) {}

  bool AutoPopup() const override { return true; }
  void Popup(Point at) override;
  bool ClickDefaultItem() override;
  // Runs before each showing, so check marks show the current state.
  std::function<void(HMENU)> beforePopup;
  HMENU handle() const { return menu_.get(); }

 private:
  OwnedMenu menu_;  // its submenus are owned by it and go with it
  HWND owner_;
};

}  // namespace solvane::win32
