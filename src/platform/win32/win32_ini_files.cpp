#include "platform/win32/win32_ini_files.h"

#include <windows.h>

namespace solvane::win32 {

std::string Win32IniFiles::Read(const std::string& path, const std::string& section, const std::string& key,
                                const std::string& fallback) {
  char value[kMaxIniValue + 1] = {};
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), value, sizeof value, path.c_str());
  return std::string(value, length);
}

bool Win32IniFiles::Write(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != FALSE;
}

}  // namespace solvane::win32
