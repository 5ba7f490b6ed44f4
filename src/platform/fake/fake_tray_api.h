#pragma once
// The shell's notification area and a tray menu, recorded.

#include <functional>
#include <string>
#include <vector>

#include "platform/tray_api.h"

namespace solvane::fake {

class FakeTray : public TrayApi {
 public:
  WindowHandle CreateUtilWindow(TrayWindowEvents events) override {
    events_ = std::move(events);
    return 0x700;
  }
  void DestroyUtilWindow(WindowHandle) override { events_ = {}; }
  bool NotifyIcon(TrayOperation operation, const TrayIconRecord& record) override {
    calls.push_back({operation, record});
    if (operation == TrayOperation::kAdd) return !refuseAdd;
    return true;
  }
  Point CursorPos() override { return cursor; }
  unsigned KeyShiftState() override { return shift; }
  bool IsWindowEnabled(WindowHandle) override { return true; }
  void SetForegroundWindow(WindowHandle window) override { log.push_back("foreground " + std::to_string(window)); }
  void ProcessMessages() override { log.push_back("process messages"); }
  void CancelMouseCapture() override { log.push_back("cancel capture"); }
  // The shell (re)starts and tells every top-level window.
  void Restart() {
    if (events_.onRestart) events_.onRestart();
  }
  // The shell reports the mouse on the icon.
  void Mouse(TrayMouse mouse) {
    if (events_.onMouse) events_.onMouse(mouse);
  }

  struct Call {
    TrayOperation operation;
    TrayIconRecord record;
  };
  std::vector<Call> calls;
  std::vector<std::string> log;
  bool refuseAdd = false;
  Point cursor{1200, 790};
  unsigned shift = 0;

 private:
  TrayWindowEvents events_;
};

class FakeTrayMenu : public TrayMenu {
 public:
  explicit FakeTrayMenu(std::vector<std::string>* log) : log_(log) {}
  bool AutoPopup() const override { return autoPopup; }
  void Popup(Point at) override {
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

}  // namespace solvane::fake
