#include "platform/global_hotkey.h"

namespace solvane {

GlobalHotkey::GlobalHotkey(HotKeyApi& api) : api_(api) {
  window_ = api_.CreateHotKeyWindow([this](unsigned message) { HandleMessage(message); });
}

GlobalHotkey::~GlobalHotkey() {
  Drop();
  if (window_ != 0) api_.DestroyHotKeyWindow(window_);
}

void GlobalHotkey::Loaded() {
  if (enabled_) Register();
}

void GlobalHotkey::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (enabled_) {
    Register();
  } else {
    Drop();
  }
}

void GlobalHotkey::SetKey(ShortCut key) {
  if (key == key_) return;
  key_ = key;
  Drop();
  if (enabled_) Register();
}

void GlobalHotkey::Register() {
  if (registered_) return;
  const unsigned code = key_ & 0x1FFF;
  // No key means no hotkey; never hand the system a combination without one.
  if ((code & 0xFF) == 0) return;
  unsigned modifiers = 0;
  if (key_ & kShiftBit) modifiers |= kModShift;
  if (key_ & kAltBit) modifiers |= kModAlt;
  if (key_ & kCtrlBit) modifiers |= kModControl;
  registered_ = api_.RegisterHotKey(window_, 0, modifiers, code & 0xFF);
}

void GlobalHotkey::Drop() {
  if (!registered_) return;
  api_.UnregisterHotKey(window_, 0);
  registered_ = false;
}

void GlobalHotkey::HandleMessage(unsigned message) {
  if (message == kWmHotKey && OnHotKey) OnHotKey();
}

}  // namespace solvane
