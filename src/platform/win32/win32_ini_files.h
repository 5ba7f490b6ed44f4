#pragma once
#include "platform/ini_files.h"

namespace solvane::win32 {

// The system's profile functions.
class Win32IniFiles : public IniFiles {
 public:
  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& fallback) override;
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override;
};

}  // namespace solvane::win32
