#pragma once
#include <windows.h>

#include "platform/file_system.h"

namespace solvane::win32 {

class Win32FileSystem : public FileSystem {
 public:
  std::optional<std::string> ReadAll(const std::string& path) override;
  std::optional<std::uint64_t> SizeOf(const std::string& path) override;
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::unique_ptr<WritableFile> OpenInPlace(const std::string& path) override;
  bool Replace(const std::string& target, const std::string& replacement) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;
};

}  // namespace solvane::win32
