#pragma once
#include <windows.h>

#include <functional>

#include "platform/tray_api.h"
#include "platform/win32/win32_message_window.h"
#include "platform/win32/win32_owned.h"

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
  Win32TrayMenu(OwnedMenu menu, HWND owner) : menu_(std::move(menu)), owner_(owner) {}

  bool AutoPopup() const override { return true; }
  void Popup(ScreenPoint at) override;
  bool ClickDefaultItem() override;
  // Runs before each showing, so check marks show the current state.
  std::function<void(HMENU)> beforePopup;
  HMENU handle() const { return menu_.get(); }

 private:
  OwnedMenu menu_;  // its submenus are owned by it and go with it
  HWND owner_;
};

// A 16 x 16 icon: a clipboard, with a red mark when `marked`. Owns it.
class ClipboardIcon {
 public:
  explicit ClipboardIcon(bool marked);
  HICON get() const { return icon_.get(); }

 private:
  OwnedIcon icon_;
};

// The 16 x 16 pictures of the tray menu's items, drawn on the menu's colour.
class MenuPictures {
 public:
  enum Picture { kSettings, kClipboard, kSave, kClear, kQuit, kCount };
  MenuPictures();
  HBITMAP get(Picture picture) const { return bitmaps_[picture].get(); }

 private:
  OwnedBitmap bitmaps_[kCount];
};

}  // namespace solvane::win32
