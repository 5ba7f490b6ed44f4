#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/form_window.h"
#include "platform/hint_placement.h"
#include "platform/pointer.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"
#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

// Moves the window to the middle of the primary screen, size and z-order
// kept, without activating it.
void CentreOnScreen(HWND window);
// The work areas of the monitors attached now.
std::vector<HintRect> WorkAreas();
// A window that lies on none of them is moved onto the nearest, without
// activating it (see solvane::KeepOnScreen).
void KeepOnScreen(HWND window);

class Win32Clock : public Clock {
 public:
  std::uint32_t TickCount() override { return GetTickCount(); }
  std::int64_t LocalTimeSeconds() override;
};

// Measures in "MS Sans Serif" at height -11 (8 point), the clip list's font.
class Win32TextMetrics : public TextMetrics {
 public:
  Win32TextMetrics();
  ~Win32TextMetrics() override;
  Win32TextMetrics(const Win32TextMetrics&) = delete;
  Win32TextMetrics& operator=(const Win32TextMetrics&) = delete;
  int TextWidth(std::string_view text) override;
  int Utf8TextWidth(std::string_view utf8) override;
  HFONT font() const { return font_.get(); }

 private:
  int MeasuredWidth(std::string_view text) const;

  // Destroyed in reverse: the font is deselected, then deleted, then the DC.
  OwnedMemoryDc dc_;
  OwnedFont font_;
  SelectedObject fontInDc_;
  // Each byte's advance, when adding them up gives what the system
  // measures; empty otherwise.
  std::vector<int> advances_;
};

// Message boxes over the program's window in front. While that window is
// hidden a box has no owner: closing it then activates what the user had in
// front, not the hidden window, which would take the next keys.
class Win32Dialogs : public Dialogs {
 public:
  explicit Win32Dialogs(std::string title) : title_(std::move(title)) {}
  void set_owner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }
  void ShowError(const std::string& message) override;
  bool Confirm(const std::string& question) override;

 private:
  HWND BoxOwner() const { return owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr; }

  std::string title_;
  HWND owner_ = nullptr;
};

// The clip window as the logic moves it about; does not own the handles.
class Win32FormWindow : public FormWindow {
 public:
  // `owner` is the application's hidden owner window.
  Win32FormWindow(HWND window, HWND owner) : window_(window), owner_(owner) {}
  void Hide() override { ShowWindow(window_, SW_HIDE); }
  bool Visible() const override { return IsWindowVisible(window_) != FALSE; }
  int Width() const override;
  void SetWidth(int width) override;
  void Close() override { SendMessageA(window_, WM_CLOSE, 0, 0); }
  int Left() const override;
  int Top() const override;
  void SetLeft(int left) override { SetWindowPos(window_, nullptr, left, Top(), 0, 0, kMoveOnly); }
  void SetTop(int top) override { SetWindowPos(window_, nullptr, Left(), top, 0, 0, kMoveOnly); }
  void ShowRestored() override;
  void MinimizeApplication() override;
  void HideOwner() override { ShowWindow(owner_, SW_HIDE); }
  void TakeForeground() override;
  void BringToTop() override;
  void FocusPanel() override { SetFocus(window_); }

 private:
  static constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  HWND window_;
  HWND owner_;
};

class Win32Pointer : public Pointer {
 public:
  void MoveTo(int x, int y) override { SetCursorPos(x, y); }
  int X() override { return Position().x; }
  int Y() override { return Position().y; }
  int DesktopWidth() override { return GetSystemMetrics(SM_CXSCREEN); }
  int DesktopHeight() override { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  static POINT Position() {
    POINT point{};
    GetCursorPos(&point);
    return point;
  }
};

// Window timers of one window; the timer number is the timer id.
class Win32Timers : public Timers {
 public:
  explicit Win32Timers(HWND window) : window_(window) {}
  void SetInterval(int timer, int milliseconds) override;

 private:
  HWND window_;
};

// The folder of the program file, with its trailing separator.
std::string ProgramFolder();
// The program file's name cut before its first ".", all but the first
// character in lower case ("SolvaneClips.exe" gives "Solvaneclips").
std::string ApplicationTitle();

}  // namespace solvane::win32
