#pragma once
// The notification area as the tray icon component uses it.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/clipboard_chain.h"  // WindowHandle

namespace solvane {

using IconHandle = std::uintptr_t;  // an HICON on Windows; 0 is no picture

inline constexpr unsigned kNimAdd = 0;
inline constexpr unsigned kNimModify = 1;
inline constexpr unsigned kNimDelete = 2;
inline constexpr unsigned kTrayCallbackMessage = 0xB054;

// The shell's icon record in its first, 88-byte form.
struct NotifyIconRecord {
  std::uint32_t cbSize = 88;
  WindowHandle hWnd = 0;
  std::uint32_t uID = 0;
  std::uint32_t uFlags = 7;  // message, icon, tip
  std::uint32_t uCallbackMessage = kTrayCallbackMessage;
  IconHandle hIcon = 0;
  std::string szTip;  // at most 63 characters
};

struct ScreenPoint {
  int x = 0, y = 0;
};

class TrayApi {
 public:
  using MessageHandler = std::function<std::intptr_t(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)>;
  virtual ~TrayApi() = default;
  // A hidden window for the icon's mouse messages; 0 when it cannot be made.
  virtual WindowHandle CreateUtilWindow(MessageHandler handler) = 0;
  virtual void DestroyUtilWindow(WindowHandle window) = 0;
  virtual std::intptr_t DefaultProc(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
  // Shell_NotifyIcon; false when the shell refuses.
  virtual bool NotifyIcon(unsigned operation, const NotifyIconRecord& record) = 0;
  // The message the shell sends to every top-level window when the
  // notification area (re)starts ("TaskbarCreated"); 0 when unknown.
  virtual unsigned TaskbarCreatedMessage() = 0;
  virtual ScreenPoint CursorPos() = 0;
  // Bits: 1 Shift, 2 Ctrl, 4 Alt, from the keys' current state.
  virtual unsigned KeyShiftState() = 0;
  virtual bool IsWindowEnabled(WindowHandle window) = 0;
  virtual void SetForegroundWindow(WindowHandle window) = 0;
  // Lets pending messages run and ends any mouse capture of the program.
  virtual void ProcessMessages() = 0;
  virtual void CancelMouseCapture() = 0;
};

// The tray menu as the icon needs it.
class TrayMenu {
 public:
  virtual ~TrayMenu() = default;
  virtual bool AutoPopup() const = 0;
  // Shows the menu at the point; returns when it closes (the chosen item has
  // run by then).
  virtual void Popup(ScreenPoint at) = 0;
  // Clicks the first top-level item that is both default and enabled; false
  // when there is none.
  virtual bool ClickDefaultItem() = 0;
};

}  // namespace solvane
