#include "platform/std/std_file_system.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace solvane::stdio {

namespace {

// Owns a C stream.
class Stream {
 public:
  explicit Stream(std::FILE* file) : file_(file) {}
  ~Stream() { Close(); }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  std::FILE* get() const { return file_; }
  bool Close() {
    if (file_ == nullptr) return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }

 private:
  std::FILE* file_;
};

class StdFile : public WritableFile {
 public:
  explicit StdFile(std::FILE* file) : file_(file) {}
  bool Write(std::string_view bytes) override {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
  }
  bool Flush() override { return std::fflush(file_.get()) == 0; }
  bool Rewind() override { return std::fseek(file_.get(), 0, SEEK_SET) == 0; }
  bool Close() override { return file_.Close(); }

 private:
  Stream file_;
};

// The size by seeking to the end: the file stays open for others meanwhile.
std::optional<std::uint64_t> SizeOfOpen(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return std::nullopt;
  const long size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(size);
}

}  // namespace

std::optional<std::string> StdFileSystem::ReadAll(const std::string& path) {
  Stream file(std::fopen(path.c_str(), "rb"));
  if (file.get() == nullptr) return std::nullopt;
  const auto size = SizeOfOpen(file.get());
  if (!size) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(*size), '\0');
  const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (read < bytes.size() && std::ferror(file.get())) return std::nullopt;
  bytes.resize(read);  // the file shrank meanwhile
  return bytes;
}

std::optional<std::uint64_t> StdFileSystem::SizeOf(const std::string& path) {
  Stream file(std::fopen(path.c_str(), "rb"));
  if (file.get() == nullptr) return std::nullopt;
  return SizeOfOpen(file.get());
}

std::unique_ptr<WritableFile> StdFileSystem::Create(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdFile>(file);
}

std::unique_ptr<WritableFile> StdFileSystem::OpenInPlace(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");  // keeps the bytes where they are
  if (file == nullptr) file = std::fopen(path.c_str(), "w+b");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdFile>(file);
}

std::unique_ptr<WritableFile> StdFileSystem::OpenForAppend(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return nullptr;
  return std::make_unique<StdFile>(file);
}

std::optional<std::vector<std::string>> StdFileSystem::ListFiles(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return std::nullopt;
  std::vector<std::string> names;
  for (const auto& entry : entries) {
    if (entry.is_regular_file(error)) names.push_back(entry.path().filename().string());
  }
  return names;
}

bool StdFileSystem::Replace(const std::string& target, const std::string& replacement) {
  std::error_code error;
  std::filesystem::rename(replacement, target, error);
  return !error;
}

bool StdFileSystem::Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

bool StdFileSystem::Remove(const std::string& path) {
  std::error_code error;
  return std::filesystem::remove(path, error) && !error;
}

}  // namespace solvane::stdio
