#include "platform/components/global_hotkey.h"

namespace solvane {

GlobalHotkey::GlobalHotkey(HotKeyApi& api) : api_(api) {
  window_ = api_.CreateHotKeyWindow([this] {
    if (OnHotKey) OnHotKey();
  });
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
  if (key_ & kShiftBit) modifiers |= kHotKeyShift;
  if (key_ & kAltBit) modifiers |= kHotKeyAlt;
  if (key_ & kCtrlBit) modifiers |= kHotKeyControl;
  registered_ = api_.RegisterHotKey(window_, 0, modifiers, code & 0xFF);
}

void GlobalHotkey::Drop() {
  if (!registered_) return;
  api_.UnregisterHotKey(window_, 0);
  registered_ = false;
}

}  // namespace solvane
