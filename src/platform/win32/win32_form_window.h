#pragma once
#include <windows.h>

#include "platform/form_window.h"

namespace solvane::win32 {

// The clip window as the logic moves it about; does not own the handles.
class Win32FormWindow : public FormWindow {
 public:
  // `owner` is the application's hidden owner window.
  Win32FormWindow(HWND window, HWND owner) : window_(window), owner_(owner) {}
  void Hide() override { ShowWindow(window_, SW_HIDE); }
  bool Visible() const override { return IsWindowVisible(window_) != FALSE; }
  int Width() const override;
  int Dpi() const override;
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

}  // namespace solvane::win32
