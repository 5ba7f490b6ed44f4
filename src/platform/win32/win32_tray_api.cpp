#include "platform/win32/win32_tray_api.h"

#include <cstring>

namespace solvane::win32 {

namespace {

// The mouse messages the shell passes on, as the icon hears them.
bool TrayMouseOf(LPARAM message, TrayMouse& mouse) {
  static constexpr struct {
    LPARAM message;
    TrayMouse mouse;
  } kMice[] = {
      {WM_MOUSEMOVE, TrayMouse::kMove},
      {WM_LBUTTONDOWN, TrayMouse::kLeftDown},
      {WM_LBUTTONUP, TrayMouse::kLeftUp},
      {WM_LBUTTONDBLCLK, TrayMouse::kLeftDouble},
      {WM_RBUTTONDOWN, TrayMouse::kRightDown},
      {WM_RBUTTONUP, TrayMouse::kRightUp},
      {WM_RBUTTONDBLCLK, TrayMouse::kRightDouble},
      {WM_MBUTTONDOWN, TrayMouse::kMiddleDown},
      {WM_MBUTTONUP, TrayMouse::kMiddleUp},
      {WM_MBUTTONDBLCLK, TrayMouse::kMiddleDouble},
  };
  for (const auto& entry : kMice) {
    if (entry.message == message) {
      mouse = entry.mouse;
      return true;
    }
  }
  return false;
}

}  // namespace

WindowHandle Win32Tray::CreateUtilWindow(TrayWindowEvents events) {
  // 0 when the system knows no such message; a restart then goes unnoticed.
  const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  HWND window = windows_.CreateUtil(
      [events = std::move(events), taskbarCreated](HWND self, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (taskbarCreated != 0 && message == taskbarCreated) {
          if (events.onRestart) events.onRestart();
          return 0;
        }
        if (message != kTrayCallbackMessage) return DefWindowProcA(self, message, wParam, lParam);
        TrayMouse mouse{};
        if (TrayMouseOf(lParam, mouse) && events.onMouse) events.onMouse(mouse);
        return 0;
      });
  return reinterpret_cast<WindowHandle>(window);
}

void Win32Tray::DestroyUtilWindow(WindowHandle window) { windows_.Destroy(reinterpret_cast<HWND>(window)); }

NOTIFYICONDATAA NotifyIconData(const TrayIconRecord& record) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  // NOTE: the first, shortest form of the record. It is 88 bytes in a
  // 32-bit program; a 64-bit program's pointers make the same fields longer,
  // and the shell only accepts the size that matches the process.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = reinterpret_cast<HWND>(record.window);
  data.uID = record.id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  std::strncpy(data.szTip, record.tip.c_str(), 63);
  return data;
}

bool Win32Tray::NotifyIcon(TrayOperation operation, const TrayIconRecord& record) {
  NOTIFYICONDATAA data = NotifyIconData(record);
  const DWORD message = operation == TrayOperation::kAdd      ? NIM_ADD
                        : operation == TrayOperation::kModify ? NIM_MODIFY
                                                              : NIM_DELETE;
  return Shell_NotifyIconA(message, &data) != FALSE;
}

Point Win32Tray::CursorPos() {
  POINT point{};
  GetCursorPos(&point);
  return Point{point.x, point.y};
}

unsigned Win32Tray::KeyShiftState() {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kShiftCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= kShiftAlt;
  return shift;
}

bool Win32Tray::IsWindowEnabled(WindowHandle window) {
  return ::IsWindowEnabled(reinterpret_cast<HWND>(window)) != FALSE;
}

void Win32Tray::SetForegroundWindow(WindowHandle window) { ::SetForegroundWindow(reinterpret_cast<HWND>(window)); }

void Win32Tray::ProcessMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32TrayMenu::Popup(Point at) {
  if (beforePopup) beforePopup(menu_);
  TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_, nullptr);
}

bool Win32TrayMenu::ClickDefaultItem() {
  const int count = GetMenuItemCount(menu_);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoA(menu_, static_cast<UINT>(i), TRUE, &info)) continue;
    if ((info.fState & MFS_DEFAULT) && !(info.fState & MFS_DISABLED) && info.hSubMenu == nullptr) {
      PostMessageA(owner_, WM_COMMAND, MAKEWPARAM(info.wID, 0), 0);
      return true;
    }
  }
  return false;
}

}  // namespace solvane::win32
