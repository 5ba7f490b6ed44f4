#include "platform/win32/win32_key_names.h"

#include <windows.h>

namespace solvane::win32 {

std::string Win32KeyNames::PlatformKeyName(unsigned virtualKey) {
  const UINT scanCode = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
  char name[64] = {};
  const int length = GetKeyNameTextA(static_cast<LONG>(scanCode << 16), name, sizeof name);
  return length > 0 ? std::string(name, static_cast<std::size_t>(length)) : std::string();
}

}  // namespace solvane::win32
