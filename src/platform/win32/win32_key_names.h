#pragma once
#include <string>

#include "base/shortcut.h"

namespace solvane::win32 {

// The keyboard layout's names for keys, as the system gives them.
class Win32KeyNames : public KeyNames {
 public:
  std::string PlatformKeyName(unsigned virtualKey) override;
};

}  // namespace solvane::win32
