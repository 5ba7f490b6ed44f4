#pragma once
#include <windows.h>

#include <functional>

#include "platform/tray_api.h"
#include "platform/win32/win32_message_window.h"

namespace solvane::win32 {

class Win32Tray : public TrayApi {
 public:
  explicit Win32Tray(HINSTANCE instance) : windows_(instance) {}
  WindowHandle CreateUtilWindow(MessageHandler handler) override;
  void DestroyUtilWindow(WindowHandle window) override;
  std::intptr_t DefaultProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override;
  bool NotifyIcon(unsigned operation, const NotifyIconRecord& record) override;
  unsigned TaskbarCreatedMessage() override { return RegisterWindowMessageA("TaskbarCreated"); }
  ScreenPoint CursorPos() override;
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
  Win32TrayMenu(HMENU menu, HWND owner) : menu_(menu), owner_(owner) {}
  ~Win32TrayMenu() override { DestroyMenu(menu_); }
  Win32TrayMenu(const Win32TrayMenu&) = delete;
  Win32TrayMenu& operator=(const Win32TrayMenu&) = delete;

  bool AutoPopup() const override { return true; }
  void Popup(ScreenPoint at) override;
  bool ClickDefaultItem() override;
  // Runs before each showing, so check marks show the current state.
  std::function<void(HMENU)> beforePopup;
  HMENU handle() const { return menu_; }

 private:
  HMENU menu_;
  HWND owner_;
};

// A 16 x 16 icon: a clipboard, with a red mark when `marked`. Owns it.
class ClipboardIcon {
 public:
  explicit ClipboardIcon(bool marked);
  ~ClipboardIcon() { DestroyIcon(icon_); }
  ClipboardIcon(const ClipboardIcon&) = delete;
  ClipboardIcon& operator=(const ClipboardIcon&) = delete;
  HICON get() const { return icon_; }

 private:
  HICON icon_;
};

// The 16 x 16 pictures of the tray menu's items, drawn on the menu's colour.
class MenuPictures {
 public:
  enum Picture { kSettings, kClipboard, kSave, kClear, kQuit, kCount };
  MenuPictures();
  ~MenuPictures();
  MenuPictures(const MenuPictures&) = delete;
  MenuPictures& operator=(const MenuPictures&) = delete;
  HBITMAP get(Picture picture) const { return bitmaps_[picture]; }

 private:
  HBITMAP bitmaps_[kCount] = {};
};

}  // namespace solvane::win32
