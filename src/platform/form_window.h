#pragma once

namespace solvane {

// The clip window itself as the logic moves it about.
// Places are screen pixels of the window's outer edge. None of these can
// fail in a way the logic could act on: a refused move leaves the window
// where it was.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  virtual int Width() const = 0;
  // The DPI of the screen the window is on, which its layout follows (96
  // where the system cannot tell).
  virtual int Dpi() const = 0;
  // A new width, height and place kept, without activating it.
  virtual void SetWidth(int width) = 0;
  // Asks the window to close; the close handler runs before this returns
  // and may keep it open.
  virtual void Close() = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  // Moves the window, the other coordinate and its size kept, without
  // activating it.
  virtual void SetLeft(int left) = 0;
  virtual void SetTop(int top) = 0;

  // Restores the application and shows the window where it last stood, or
  // on the nearest screen when none is there any more.
  virtual void ShowRestored() = 0;
  // Minimises the application; the program, having no task-bar button,
  // hides its window.
  virtual void MinimizeApplication() = 0;
  // Hides the application's own owner window, which keeps the program off
  // the task bar.
  virtual void HideOwner() = 0;
  // Makes this window the foreground window, borrowing the input of the
  // thread that owns the current one; a refusal is not reported.
  virtual void TakeForeground() = 0;
  // To the top of the stacking order without staying topmost.
  virtual void BringToTop() = 0;
  // Keyboard focus to the panel that holds the list and the labels.
  virtual void FocusPanel() = 0;
};

}  // namespace solvane
