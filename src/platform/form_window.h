#pragma once

namespace solvane {

// The clip window itself as the logic moves it about.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  virtual int Width() const = 0;
  virtual void SetWidth(int width) = 0;
  // Asks the window to close; the close handler runs before this returns.
  virtual void Close() = 0;
};

}  // namespace solvane
