#pragma once
#include <functional>

#include "platform/settings_dialog_events.h"

namespace solvane::fake {

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
  Placement Bounds() const override { return bounds; }
  int Dpi() const override { return dpi; }
  void SetBounds(const Placement& b) override { bounds = b; }
  Placement bounds{433, 254, 236, 302};  // the dialog at 96 DPI
  int dpi = 96;
  bool open = false;
  int modalRuns = 0, broughtToFront = 0;
  std::function<void()> whileOpen;
};

}  // namespace solvane::fake
