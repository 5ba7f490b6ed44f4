#include "core/clip_files.h"

#include <algorithm>

#include "base/app_error.h"
#include "base/text_buffer.h"
#include "base/utf8.h"

namespace solvane {

void SaveReplacing(FileSystem& files, const std::string& path, std::string_view bytes) {
  SaveReplacing(files, path, std::vector<std::string_view>{bytes});
}

void SaveReplacing(FileSystem& files, const std::string& path, const std::vector<std::string_view>& pieces) {
  SaveReplacing(files, path, [&](WritableFile& file) {
    // Small pieces (one captured clip each) are gathered first, so that a
    // long history does not cost a system call per clip.
    constexpr std::size_t kGather = 1 << 16;
    std::string gathered;
    const auto writeGathered = [&] {
      const bool ok = gathered.empty() || file.Write(gathered);
      gathered.clear();
      return ok;
    };
    for (const std::string_view piece : pieces) {
      if (piece.size() < kGather) {
        gathered += piece;
        if (gathered.size() >= kGather && !writeGathered()) return false;
      } else if (!writeGathered() || !file.Write(piece)) {
        return false;
      }
    }
    return writeGathered();
  });
}

void SaveReplacing(FileSystem& files, const std::string& path, const std::function<bool(WritableFile&)>& write) {
  const std::string temp = path + kSavingSuffix;
  auto file = files.Create(temp);
  if (!file) throw AppError(CannotCreateFileMessage(path));
  bool written = false;
  try {
    written = write(*file) && file->Flush();
  } catch (...) {
    file->Close();
    files.Remove(temp);
    throw;
  }
  const bool closed = file->Close();
  if (!written || !closed || !files.Replace(path, temp)) {
    files.Remove(temp);
    throw AppError(CannotCreateFileMessage(path));
  }
}

std::optional<std::string> KeepAside(FileSystem& files, const std::string& path) {
  if (!files.Exists(path)) return std::nullopt;
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? path.substr(0, dot) : path;
  const std::string extension = hasExtension ? path.substr(dot) : std::string();
  constexpr int kMaxKept = 100;
  for (int n = 1; n <= kMaxKept; ++n) {
    const std::string kept =
        stem + " (not loaded" + (n == 1 ? std::string() : " " + std::to_string(n)) + ")" + extension;
    if (files.Exists(kept)) continue;
    if (!files.Replace(kept, path)) break;
    return kept;
  }
  throw AppError(CannotCreateFileMessage(path));
}

std::string ReadFileOrThrow(FileSystem& files, const std::string& path) {
  auto bytes = files.ReadAll(path);
  if (!bytes) throw AppError(CannotOpenFileMessage(path));
  return std::move(*bytes);
}

TitleFile ReadTitleFile(FileSystem& files, const std::string& path) {
  TitleFile file;
  file.bytes = ReadFileOrThrow(files, path);
  const std::size_t length = TitleFileLength(file.bytes);
  file.lines = SplitTitleLines(std::string_view(file.bytes).substr(0, length));
  file.whole = length == file.bytes.size();
  return file;
}

bool LoadTitleList(TitleList& list, FileSystem& files, const std::string& path) {
  const TitleFile file = ReadTitleFile(files, path);
  list.Assign(file.lines);
  return file.whole;
}

// Written a few hundred lines at a time: the whole file in memory at once
// was the peak of a long history's close (2.5 MB for 20,000 lines).
void SaveTitleList(const TitleList& list, FileSystem& files, const std::string& path) {
  SaveReplacing(files, path, [&list](WritableFile& file) {
    constexpr int kLines = 512;
    std::string bytes;
    // A title item is its title, 70 spaces, the marker and the key.
    bytes.reserve(kLines * 128);
    for (int first = 0, count = list.Count(); first < count; first += kLines) {
      bytes.clear();
      list.AppendFileLines(bytes, first, std::min(kLines, count - first));
      if (!file.Write(bytes)) return false;
    }
    return true;
  });
}

void LoadTextStore(ClipTextStore& store, FileSystem& files, const std::string& path) {
  store.Clear();
  store.AssignFileBytes(ReadFileOrThrow(files, path));
}

void SaveTextStore(const ClipTextStore& store, FileSystem& files, const std::string& path) {
  SaveReplacing(files, path, store.FilePieces());
}

bool IsWholeRecords(std::string_view bytes) {
  std::string open;  // the key of the record being read, lower case
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find(kCrLf, start);
    if (end == std::string_view::npos) return false;
    const std::string_view line = bytes.substr(start, end - start);
    start = end + kCrLf.size();
    const ClipTextStore::Marker marker = ClipTextStore::MarkerOf(line);
    const std::string key =
        marker == ClipTextStore::Marker::None ? std::string() : AsciiLower(line.substr(kHeaderMarker.size()));
    if (open.empty()) {
      if (marker != ClipTextStore::Marker::Header) return false;
      open = key;
    } else if (marker == ClipTextStore::Marker::Trailer && key == open) {
      open.clear();
    }
  }
  return open.empty();
}

void LoadExactTexts(ClipTextStore& exact, FileSystem& files, const std::string& path) {
  exact.Clear();
  if (!files.Exists(path)) return;
  std::string bytes = ReadFileOrThrow(files, path);
  if (!IsValidUtf8(bytes) || !IsWholeRecords(bytes)) {
    throw AppError("The file " + path + " is damaged: the exact texts it holds could not be loaded.");
  }
  exact.AssignFileBytes(std::move(bytes));
}

namespace {

// One pass over the file's place on disk: `size` copies of 0xFF CR LF from
// its first byte, in large blocks, flushed so the pass reaches the disk
// before the next one overwrites it.
bool WritePass(WritableFile& file, std::uint64_t size) {
  constexpr std::size_t kBlockUnits = 1 << 16;
  static const std::string block = [] {
    std::string all;
    all.reserve(3 * kBlockUnits);
    for (std::size_t i = 0; i < kBlockUnits; ++i) all += "\xFF\r\n";
    return all;
  }();
  if (!file.Rewind()) return false;
  for (std::uint64_t left = size; left > 0;) {
    const std::uint64_t units = std::min<std::uint64_t>(left, kBlockUnits);
    if (!file.Write(std::string_view(block).substr(0, static_cast<std::size_t>(units) * 3))) return false;
    left -= units;
  }
  return size == 0 || file.Flush();
}

}  // namespace

// The passes rewrite the file in place rather than re-creating it, so they
// go over the blocks that held the clips (a truncated file may be given new
// ones) and do not wait for the system to write back a freed file each time.
void ScrubFile(FileSystem& files, const std::string& path) {
  const std::uint64_t size = files.SizeOf(path).value_or(0);
  {
    auto file = files.OpenInPlace(path);
    if (!file) throw AppError(CannotCreateFileMessage(path));
    for (int pass = 0; pass < kScrubPasses; ++pass) {
      if (!WritePass(*file, size)) throw AppError(CannotCreateFileMessage(path));
    }
    if (!file->Close()) throw AppError(CannotCreateFileMessage(path));
  }
  auto emptied = files.Create(path);
  if (!emptied || !emptied->Close()) throw AppError(CannotCreateFileMessage(path));
}

}  // namespace solvane
