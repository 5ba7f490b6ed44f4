#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/win32/win32_background_job.h"

namespace solvane::win32 {

// Reads files on a thread of its own from the moment it is made, for a
// ReadAll that comes later: the clip files are read while the windows are
// being made. `then`, if given, runs on the same thread after the reads.
// Waits for the thread when it goes.
class FileReadAhead {
 public:
  explicit FileReadAhead(std::vector<std::string> paths, std::function<void()> then = nullptr);
  // Until the reads and `then` are done.
  void Wait() const { reads_.Wait(); }
  // What the thread read of `path`, once (waiting for it if need be); false
  // for a path it was not given or was asked for before.
  bool Take(const std::string& path, std::optional<std::string>& bytes);

 private:
  std::vector<std::string> paths_;
  std::vector<std::optional<std::string>> bytes_;
  std::vector<bool> taken_;
  BackgroundJob reads_;  // last: starts once the rest is made, goes first
};

class Win32FileSystem : public FileSystem {
 public:
  // Files read ahead for ReadAll; not owned, may be null.
  void set_read_ahead(FileReadAhead* ahead) { ahead_ = ahead; }
  std::optional<std::string> ReadAll(const std::string& path) override;
  std::optional<std::uint64_t> SizeOf(const std::string& path) override;
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::unique_ptr<WritableFile> OpenInPlace(const std::string& path) override;
  std::unique_ptr<WritableFile> OpenForAppend(const std::string& path) override;
  std::optional<std::vector<std::string>> ListFiles(const std::string& folder) override;
  bool Replace(const std::string& target, const std::string& replacement) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;

 private:
  FileReadAhead* ahead_ = nullptr;
};

}  // namespace solvane::win32
