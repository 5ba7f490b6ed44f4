#pragma once
#include <functional>

#include "platform/fake/event_log.h"
#include "platform/form_window.h"

namespace solvane::fake {

// The clip window as a place, a size and a visible flag.
class FakeFormWindow : public FormWindow {
 public:
  void Hide() override {
    visible = false;
    Log("hide");
  }
  bool Visible() const override { return visible; }
  int Width() const override { return width; }
  int Dpi() const override { return dpi; }
  void SetWidth(int w) override { width = w; }
  // The platform runs the close handler; it may keep the window open.
  void Close() override {
    ++closeRequests;
    if (!onClose || onClose()) closed = true;
  }
  int Left() const override { return left; }
  int Top() const override { return top; }
  void SetLeft(int l) override { left = l; }
  void SetTop(int t) override { top = t; }
  void ShowRestored() override {
    visible = true;
    minimized = false;
    Log("show");
  }
  void MinimizeApplication() override {
    minimized = true;
    Log("minimize");
  }
  void HideOwner() override { Log("hide owner"); }
  void TakeForeground() override { Log("foreground"); }
  void BringToTop() override { Log("top"); }
  void FocusPanel() override { Log("focus"); }

  bool visible = false;
  bool minimized = false;
  int width = 600;
  int dpi = 96;
  int left = 100, top = 50;
  int closeRequests = 0;
  bool closed = false;
  std::function<bool()> onClose;
  EventLog* log = nullptr;

 private:
  void Log(const char* what) {
    if (log) log->push_back(what);
  }
};

}  // namespace solvane::fake
