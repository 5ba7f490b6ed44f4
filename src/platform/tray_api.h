#pragma once
// The notification area as the tray icon component uses it.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/desktop_types.h"

namespace solvane {

enum class TrayOperation { kAdd, kModify, kDelete };

// The program's icon as the notification area knows it: by the window
// that gets its mouse events and an id.
struct TrayIconRecord {
  WindowHandle window = 0;
  std::uint32_t id = 0;
  IconHandle icon = 0;
  std::string tip;  // at most 63 characters
};

// The mouse on the icon, as the shell reports it.
enum class TrayMouse {
  kMove,
  kLeftDown,
  kLeftUp,
  kLeftDouble,
  kRightDown,
  kRightUp,
  kRightDouble,
  kMiddleDown,
  kMiddleUp,
  kMiddleDouble,
};

// What the icon's window hears.
struct TrayWindowEvents {
  std::function<void(TrayMouse mouse)> onMouse;
  // The notification area (re)started and holds no icons now.
  std::function<void()> onRestart;
};

class TrayApi {
 public:
  virtual ~TrayApi() = default;
  // A hidden window for the icon's events; 0 when it cannot be made.
  virtual WindowHandle CreateUtilWindow(TrayWindowEvents events) = 0;
  // Destroys a window made by CreateUtilWindow; its events stop.
  virtual void DestroyUtilWindow(WindowHandle window) = 0;
  // Adds, changes or removes the icon of the record's window and id;
  // false when the shell refuses (no notification area, or no such icon).
  virtual bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) = 0;
  // Where the pointer is on the screen now.
  virtual Point CursorPos() = 0;
  // kShiftShift, kShiftCtrl and kShiftAlt for the keys held now.
  virtual unsigned KeyShiftState() = 0;
  // Whether the window takes mouse and keyboard input.
  virtual bool IsWindowEnabled(WindowHandle window) = 0;
  // Asks for the window to be the foreground window; a refusal is not reported.
  virtual void SetForegroundWindow(WindowHandle window) = 0;
  // Lets the messages that wait now run (a quit is left for the main loop).
  virtual void ProcessMessages() = 0;
  // Ends any mouse capture of the program.
  virtual void CancelMouseCapture() = 0;
};

// The tray menu as the icon needs it.
class TrayMenu {
 public:
  virtual ~TrayMenu() = default;
  // Whether a right-button release on the icon opens this menu.
  virtual bool AutoPopup() const = 0;
  // Shows the menu at the point; returns when it closes (the chosen item has
  // run by then).
  virtual void Popup(Point at) = 0;
  // Clicks the first top-level item that is both default and enabled; false
  // when there is none.
  virtual bool ClickDefaultItem() = 0;
};

}  // namespace solvane
