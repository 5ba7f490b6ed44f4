#pragma once
#include <windows.h>

#include "platform/clipboard.h"

namespace solvane::win32 {

class Win32Clipboard : public Clipboard {
 public:
  // The clipboard is opened on behalf of `owner` (may be null).
  explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
  void set_owner(HWND owner) { owner_ = owner; }

  bool HasText() override;
  bool IsExcludedFromHistory() override;
  std::optional<std::string> ReadText() override;
  bool WriteText(std::string_view text) override;
  bool Clear() override;

 private:
  bool Open();
  HWND owner_;
};

}  // namespace solvane::win32
