#pragma once
// Settings files in the Windows INI format: "[section]" lines, then
// key=value lines, CR LF line ends.

#include <string>

namespace solvane {

class IniFiles {
 public:
  virtual ~IniFiles() = default;
  // The value, cut to 2047 characters; `fallback` when the file, the section
  // or the key is missing.
  virtual std::string Read(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& fallback) = 0;
  // Creates the file or section as needed. False when the system refuses.
  virtual bool Write(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

inline constexpr std::size_t kMaxIniValue = 2047;

}  // namespace solvane
