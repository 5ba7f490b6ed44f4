#pragma once
// Files in memory, with a seam that makes any one step of a write fail.

#include <map>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace solvane::fake {

class FakeFileSystem : public FileSystem {
 public:
  enum class Step { None, Create, Write, Flush, Close, Replace };

  std::optional<std::string> ReadAll(const std::string& path) override;
  std::optional<std::uint64_t> SizeOf(const std::string& path) override;
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::unique_ptr<WritableFile> OpenInPlace(const std::string& path) override;
  std::unique_ptr<WritableFile> OpenForAppend(const std::string& path) override;
  std::optional<std::vector<std::string>> ListFiles(const std::string& folder) override;
  bool Replace(const std::string& target, const std::string& replacement) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;

  // The `nth` (1-based) occurrence of `step` from now on fails.
  void FailAt(Step step, int nth = 1) {
    failStep = step;
    failCountdown = nth;
  }
  bool ShouldFail(Step step);
  bool InMissingFolder(const std::string& path) const;

  std::map<std::string, std::string> files;
  std::set<std::string> unreadable;      // opening for reading fails
  bool readOnly = false;                 // nothing can be created
  std::set<std::string> missingFolders;  // listed as missing, files under them unreachable
  Step failStep = Step::None;
  int failCountdown = 0;
  int creates = 0;  // files created or truncated
  int inPlaceOpens = 0;
  std::uint64_t bytesWritten = 0;
  int flushes = 0;
};

}  // namespace solvane::fake
