#pragma once
// Deterministic stand-ins for the clock, the list font, message boxes and
// the clip window.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/form_window.h"
#include "platform/pointer.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"

namespace solvane::fake {

class FakeClock : public Clock {
 public:
  std::uint32_t TickCount() override { return tick; }
  std::int64_t LocalTimeSeconds() override { return seconds; }
  std::uint32_t tick = 123456;
  std::int64_t seconds = 1'000'000;
};

// A proportional font: narrow i, l, j, I, t, f and punctuation; wide m, w, M, W.
class FakeTextMetrics : public TextMetrics {
 public:
  int TextWidth(std::string_view text) override;
  static int CharWidth(char c);
  int calls = 0;
};

class FakeDialogs : public Dialogs {
 public:
  void ShowError(const std::string& message) override;
  bool Confirm(const std::string& question) override;
  std::vector<std::string> errors;
  std::vector<std::string> questions;
  bool answer = true;  // Yes
  // Runs while a box is up, as the nested message loop would.
  std::function<void()> whileOpen;
};

class FakeWindow : public FormWindow {
 public:
  void Hide() override { visible = false; }
  bool Visible() const override { return visible; }
  int Width() const override { return width; }
  void SetWidth(int w) override { width = w; }
  // The platform runs the close handler; it may keep the window open.
  void Close() override {
    ++closeRequests;
    if (!onClose || onClose()) closed = true;
  }
  bool visible = false;
  int width = 600;
  int closeRequests = 0;
  bool closed = false;
  std::function<bool()> onClose;
};

class FakePointer : public Pointer {
 public:
  void MoveTo(int px, int py) override {
    x = px;
    y = py;
  }
  int DesktopWidth() override { return width; }
  int DesktopHeight() override { return height; }
  int x = 0, y = 0;
  int width = 1281, height = 801;
};

class FakeTimers : public Timers {
 public:
  void SetInterval(int timer, int milliseconds) override { intervals[timer] = milliseconds; }
  std::map<int, int> intervals;
};

}  // namespace solvane::fake
