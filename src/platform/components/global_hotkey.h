#pragma once
// GlobalHotkey: one system-wide key combination, registered while Enabled,
// raising OnHotKey on every press. A refused registration is silent.

#include <functional>

#include "base/shortcut.h"
#include "platform/hotkey_api.h"

namespace solvane {

class GlobalHotkey {
 public:
  using NotifyEvent = std::function<void()>;

  explicit GlobalHotkey(HotKeyApi& api);
  ~GlobalHotkey();
  GlobalHotkey(const GlobalHotkey&) = delete;
  GlobalHotkey& operator=(const GlobalHotkey&) = delete;

  void Loaded();

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  ShortCut Key() const { return key_; }
  // An unchanged value does nothing; otherwise drop, store, register.
  void SetKey(ShortCut key);

  NotifyEvent OnHotKey;

  bool registered() const { return registered_; }

 private:
  void Register();
  void Drop();

  HotKeyApi& api_;
  WindowHandle window_ = 0;
  bool enabled_ = true;
  ShortCut key_ = 0;
  bool registered_ = false;
};

}  // namespace solvane
