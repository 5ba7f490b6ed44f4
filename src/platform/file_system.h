#pragma once
// Files as the program needs them: whole reads, writes through a handle,
// and putting a finished file in place of another in one step. Bytes go
// through unchanged (binary mode: no line-break translation).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane {

class WritableFile {
 public:
  virtual ~WritableFile() = default;  // closes if Close was not called
  // False when not every byte was written.
  virtual bool Write(std::string_view bytes) = 0;
  // Pushes written bytes to the disk. False on failure.
  virtual bool Flush() = 0;
  // Back to the first byte: later writes go over the bytes already there.
  // False when the position cannot be moved.
  virtual bool Rewind() = 0;
  // False when closing reported an error (the data may be incomplete).
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file; nullopt when it cannot be opened or read.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Size in bytes, opened so that others may still read and write it;
  // nullopt when it cannot be opened.
  virtual std::optional<std::uint64_t> SizeOf(const std::string& path) = 0;
  // Creates the file, or truncates an existing one. nullptr on failure.
  virtual std::unique_ptr<WritableFile> Create(const std::string& path) = 0;
  // Opens the file for writing over its bytes where they lie, at its first
  // byte, without truncating it (a missing file is created). nullptr on
  // failure.
  virtual std::unique_ptr<WritableFile> OpenInPlace(const std::string& path) = 0;
  // Opens the file for writing at its end, so that what is there stays as
  // it is (a missing file is created); nullptr on failure.
  virtual std::unique_ptr<WritableFile> OpenForAppend(const std::string& path) = 0;
  // The names of the files (not folders) in a folder, without the folder;
  // nullopt when the folder is missing or cannot be read.
  virtual std::optional<std::vector<std::string>> ListFiles(const std::string& folder) = 0;
  // Puts `replacement` in place of `target` in one step (target may be
  // missing). False on failure, with both files as they were.
  virtual bool Replace(const std::string& target, const std::string& replacement) = 0;
  // False when the file is missing or cannot be deleted.
  virtual bool Remove(const std::string& path) = 0;
  // Whether anything is there under the name, even a file that cannot be
  // opened (locked by another program); false when nothing is, or the
  // folder cannot be read.
  virtual bool Exists(const std::string& path) = 0;
};

}  // namespace solvane
