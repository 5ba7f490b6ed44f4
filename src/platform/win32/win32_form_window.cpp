#include "platform/win32/win32_form_window.h"

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_screens.h"

namespace solvane::win32 {

int Win32FormWindow::Width() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  return bounds.right - bounds.left;
}

int Win32FormWindow::Dpi() const { return WindowDpi(window_); }

int Win32FormWindow::Left() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  return bounds.left;
}

int Win32FormWindow::Top() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  return bounds.top;
}

// Where it last stood (centred once, at the start): the hotkey never moves
// it, unless no screen is there any more.
void Win32FormWindow::ShowRestored() {
  KeepOnScreen(window_);
  ShowWindow(window_, SW_SHOW);
}

// The program has no task-bar button; minimising it means its window goes.
void Win32FormWindow::MinimizeApplication() { ShowWindow(window_, SW_HIDE); }

void Win32FormWindow::TakeForeground() {
  // NOTE: the system lets only the foreground thread hand the foreground on,
  // so borrow that thread's input state for the one call.
  const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD self = GetCurrentThreadId();
  const bool attached = foreground != 0 && foreground != self && AttachThreadInput(foreground, self, TRUE);
  SetForegroundWindow(window_);
  if (attached) AttachThreadInput(foreground, self, FALSE);
}

void Win32FormWindow::BringToTop() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void Win32FormWindow::SetWidth(int width) {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  SetWindowPos(window_, nullptr, 0, 0, width, bounds.bottom - bounds.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace solvane::win32
