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
#include "base/shortcut.h"
#include "platform/form_window.h"
#include "platform/hotkey_api.h"
#include "platform/input.h"
#include "platform/label_column.h"
#include "platform/pointer.h"
#include "platform/settings_dialog_events.h"
#include "platform/text_metrics.h"
#include "platform/timers.h"
#include "platform/tray_api.h"

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
  // ASCII as TextWidth; every other character 10 pixels wide.
  int Utf8TextWidth(std::string_view utf8) override;
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

// Everything the fakes do that a user would see, in order.
using EventLog = std::vector<std::string>;

class FakeWindow : public FormWindow {
 public:
  void Hide() override {
    visible = false;
    Log("hide");
  }
  bool Visible() const override { return visible; }
  int Width() const override { return width; }
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

class FakeInput : public KeyboardInput {
 public:
  void KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) override;
  void Sleep(int milliseconds) override;
  EventLog* log = nullptr;
  int keyEvents = 0;
};

class FakeLabelColumn : public LabelColumn {
 public:
  int TopIndex() const override { return top; }
  void SetTopIndex(int index) override {
    if (index == top) return;
    top = index;
    ++topWrites;
  }
  int ItemIndex() const override { return item; }
  void SetItemIndex(int index) override { item = index; }
  void SetEnabled(bool on) override { enabled = on; }
  void SetHint(const std::string& text) override { hint = text; }
  void SetShowHint(bool show) override { showHint = show; }
  ScreenRect Bounds() const override { return bounds; }
  ScreenRect bounds{110, 70, 15, 470};
  int top = 0, item = -1, topWrites = 0;
  bool enabled = true, showHint = false;
  std::string hint;
};

// Hotkey registrations; a combination can be held by "another program".
class FakeHotKeys : public HotKeyApi {
 public:
  WindowHandle CreateHotKeyWindow(MessageHook hook) override;
  void DestroyHotKeyWindow(WindowHandle window) override;
  bool RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) override;
  void UnregisterHotKey(WindowHandle window, int id) override;
  // The user presses a combination: true when a registration took it.
  bool Press(unsigned modifiers, unsigned virtualKey);

  struct Registration {
    WindowHandle window;
    int id;
    unsigned modifiers, virtualKey;
  };
  std::vector<Registration> active;
  std::vector<std::string> calls;  // "register 3 0x28", "unregister"
  std::vector<std::pair<unsigned, unsigned>> heldElsewhere;
  std::map<WindowHandle, MessageHook> windows;
};

// The shell's notification area and a tray menu, recorded.
class FakeTray : public TrayApi {
 public:
  WindowHandle CreateUtilWindow(MessageHandler handler) override {
    handler_ = std::move(handler);
    return 0x700;
  }
  void DestroyUtilWindow(WindowHandle) override { handler_ = nullptr; }
  std::intptr_t DefaultProc(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { return 0; }
  bool NotifyIcon(unsigned operation, const NotifyIconRecord& record) override {
    calls.push_back({operation, record});
    if (operation == kNimAdd) return !refuseAdd;
    return true;
  }
  unsigned TaskbarCreatedMessage() override { return kTaskbarCreated; }
  ScreenPoint CursorPos() override { return cursor; }
  unsigned KeyShiftState() override { return shift; }
  bool IsWindowEnabled(WindowHandle) override { return true; }
  void SetForegroundWindow(WindowHandle window) override { log.push_back("foreground " + std::to_string(window)); }
  void ProcessMessages() override { log.push_back("process messages"); }
  void CancelMouseCapture() override { log.push_back("cancel capture"); }
  static constexpr unsigned kTaskbarCreated = 0xC0DE;
  // The shell (re)starts and tells every top-level window.
  void Restart() {
    if (handler_) handler_(kTaskbarCreated, 0, 0);
  }
  // The shell reports a mouse message on the icon.
  void Mouse(unsigned mouseMessage) {
    if (handler_) handler_(kTrayCallbackMessage, 0, static_cast<std::intptr_t>(mouseMessage));
  }

  struct Call {
    unsigned operation;
    NotifyIconRecord record;
  };
  std::vector<Call> calls;
  std::vector<std::string> log;
  bool refuseAdd = false;
  ScreenPoint cursor{1200, 790};
  unsigned shift = 0;

 private:
  MessageHandler handler_;
};

class FakeTrayMenu : public TrayMenu {
 public:
  explicit FakeTrayMenu(std::vector<std::string>* log) : log_(log) {}
  bool AutoPopup() const override { return autoPopup; }
  void Popup(ScreenPoint at) override {
    log_->push_back("popup " + std::to_string(at.x) + "," + std::to_string(at.y));
    if (onPopup) onPopup();
  }
  bool ClickDefaultItem() override {
    if (!hasDefault) return false;
    log_->push_back("default item");
    return true;
  }
  bool autoPopup = true;
  bool hasDefault = false;
  std::function<void()> onPopup;

 private:
  std::vector<std::string>* log_;
};

class FakeKeyNames : public KeyNames {
 public:
  std::string PlatformKeyName(unsigned virtualKey) override;
};

class FakePointer : public Pointer {
 public:
  void MoveTo(int px, int py) override {
    x = px;
    y = py;
  }
  int X() override { return x; }
  int Y() override { return y; }
  int DesktopWidth() override { return width; }
  int DesktopHeight() override { return height; }
  int x = 0, y = 0;
  int width = 1281, height = 801;
};

// The settings dialog's window: a modal run returns at once, after
// `whileOpen` (what happens while the dialog waits) has run.
class FakeSettingsWindow : public SettingsWindow {
 public:
  void ShowModal() override {
    ++modalRuns;
    open = true;
    if (whileOpen) whileOpen();
    open = false;
  }
  bool IsOpen() const override { return open; }
  void BringToFront() override { ++broughtToFront; }
  void Close() override { open = false; }
  FormGeometry Bounds() const override { return bounds; }
  void SetBounds(const FormGeometry& b) override { bounds = b; }
  FormGeometry bounds{254, 433, 236, 212};
  bool open = false;
  int modalRuns = 0, broughtToFront = 0;
  std::function<void()> whileOpen;
};

class FakeTimers : public Timers {
 public:
  void SetInterval(int timer, int milliseconds) override { intervals[timer] = milliseconds; }
  std::map<int, int> intervals;
};

}  // namespace solvane::fake
