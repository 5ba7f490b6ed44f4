#include "platform/fake/fake_file_system.h"

namespace solvane::fake {

namespace {

class FakeFile : public WritableFile {
 public:
  FakeFile(FakeFileSystem& fs, std::string path, std::size_t position = 0)
      : fs_(fs), path_(std::move(path)), position_(position) {}
  bool Write(std::string_view bytes) override {
    const bool fail = fs_.ShouldFail(FakeFileSystem::Step::Write);
    // A failed write may still have put part of its bytes down.
    const std::string_view written = fail ? bytes.substr(0, bytes.size() / 2) : bytes;
    std::string& content = fs_.files[path_];
    if (content.size() < position_ + written.size()) content.resize(position_ + written.size());
    content.replace(position_, written.size(), written);
    position_ += written.size();
    if (fail) return false;
    fs_.bytesWritten += bytes.size();
    return true;
  }
  bool Rewind() override {
    position_ = 0;
    return true;
  }
  bool Flush() override {
    ++fs_.flushes;
    return !fs_.ShouldFail(FakeFileSystem::Step::Flush);
  }
  bool Close() override { return !fs_.ShouldFail(FakeFileSystem::Step::Close); }

 private:
  FakeFileSystem& fs_;
  std::string path_;
  std::size_t position_ = 0;
};

}  // namespace

bool FakeFileSystem::ShouldFail(Step step) {
  if (step != failStep || failCountdown <= 0) return false;
  return --failCountdown == 0;
}

std::optional<std::string> FakeFileSystem::ReadAll(const std::string& path) {
  if (unreadable.count(path) || InMissingFolder(path)) return std::nullopt;
  const auto found = files.find(path);
  if (found == files.end()) return std::nullopt;
  return found->second;
}

std::optional<std::uint64_t> FakeFileSystem::SizeOf(const std::string& path) {
  const auto content = ReadAll(path);
  if (!content) return std::nullopt;
  return content->size();
}

std::unique_ptr<WritableFile> FakeFileSystem::Create(const std::string& path) {
  if (readOnly || InMissingFolder(path) || ShouldFail(Step::Create)) return nullptr;
  ++creates;
  files[path].clear();
  return std::make_unique<FakeFile>(*this, path);
}

std::unique_ptr<WritableFile> FakeFileSystem::OpenInPlace(const std::string& path) {
  if (readOnly || ShouldFail(Step::Create)) return nullptr;
  ++inPlaceOpens;
  files[path];  // created when missing
  return std::make_unique<FakeFile>(*this, path);
}

std::unique_ptr<WritableFile> FakeFileSystem::OpenForAppend(const std::string& path) {
  if (readOnly || InMissingFolder(path) || ShouldFail(Step::Create)) return nullptr;
  const std::size_t end = files[path].size();
  return std::make_unique<FakeFile>(*this, path, end);
}

std::optional<std::vector<std::string>> FakeFileSystem::ListFiles(const std::string& folder) {
  if (missingFolders.count(folder)) return std::nullopt;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '\\' && prefix.back() != '/') prefix.push_back('\\');
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files) {
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
        path.find_first_of("\\/", prefix.size()) == std::string::npos) {
      names.push_back(path.substr(prefix.size()));
    }
  }
  return names;
}

bool FakeFileSystem::InMissingFolder(const std::string& path) const {
  for (const std::string& folder : missingFolders) {
    if (path.compare(0, folder.size(), folder) == 0) return true;
  }
  return false;
}

bool FakeFileSystem::Replace(const std::string& target, const std::string& replacement) {
  if (ShouldFail(Step::Replace)) return false;
  const auto found = files.find(replacement);
  if (found == files.end()) return false;
  files[target] = std::move(found->second);
  files.erase(replacement);
  return true;
}

bool FakeFileSystem::Remove(const std::string& path) { return files.erase(path) > 0; }

bool FakeFileSystem::Exists(const std::string& path) { return files.count(path) > 0 || unreadable.count(path) > 0; }

}  // namespace solvane::fake
