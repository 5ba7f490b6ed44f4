#include "platform/win32/win32_dialogs.h"

namespace solvane::win32 {

void Win32Dialogs::ShowError(const std::string& message) {
  MessageBoxA(BoxOwner(), message.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

bool Win32Dialogs::Confirm(const std::string& question) {
  return MessageBoxA(BoxOwner(), question.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace solvane::win32
