#pragma once
// A private folder under the system's temporary folder, removed with
// everything in it when the owner goes.

#include <filesystem>
#include <string>

namespace solvane::bench {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

 private:
  std::filesystem::path root_;
};

}  // namespace solvane::bench
