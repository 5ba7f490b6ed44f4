#pragma once
#include <windows.h>

#include <string>

#include "platform/dialogs.h"

namespace solvane::win32 {

// Message boxes over the program's window in front. While that window is
// hidden a box has no owner: closing it then activates what the user had in
// front, not the hidden window, which would take the next keys.
class Win32Dialogs : public Dialogs {
 public:
  explicit Win32Dialogs(std::string title) : title_(std::move(title)) {}
  void set_owner(HWND owner) { owner_ = owner; }
  HWND owner() const { return owner_; }
  void ShowError(const std::string& message) override;
  bool Confirm(const std::string& question) override;

 private:
  HWND BoxOwner() const { return owner_ != nullptr && IsWindowVisible(owner_) ? owner_ : nullptr; }

  std::string title_;
  HWND owner_ = nullptr;
};

}  // namespace solvane::win32
