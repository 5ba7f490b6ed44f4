#pragma once
// Files through the standard library only, for builds without the Win32
// adapter (the native benchmarks). Binary mode throughout.
//
// NOTE: standard C++ cannot force bytes to the disk; Flush hands them to the
// operating system (fflush), which is as far as the portable API reaches.

#include "platform/file_system.h"

namespace solvane::stdio {

class StdFileSystem : public FileSystem {
 public:
  std::optional<std::string> ReadAll(const std::string& path) override;
  std::optional<std::uint64_t> SizeOf(const std::string& path) override;
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::unique_ptr<WritableFile> OpenInPlace(const std::string& path) override;
  // std::filesystem::rename: a replacing rename on POSIX and on Windows.
  std::unique_ptr<WritableFile> OpenForAppend(const std::string& path) override;
  std::optional<std::vector<std::string>> ListFiles(const std::string& folder) override;
  bool Replace(const std::string& target, const std::string& replacement) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;
};

}  // namespace solvane::stdio
