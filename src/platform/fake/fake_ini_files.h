#pragma once
// INI files kept as text in the fake file system, read and written the way
// the system's profile functions do it.

#include "platform/fake/fake_file_system.h"
#include "platform/ini_files.h"

namespace solvane::fake {

class FakeIniFiles : public IniFiles {
 public:
  explicit FakeIniFiles(FakeFileSystem& files) : files_(files) {}
  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& fallback) override;
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override;
  int writes = 0;
  int refuseAfter = -1;  // writes refused once this many went through

 private:
  FakeFileSystem& files_;
};

}  // namespace solvane::fake
