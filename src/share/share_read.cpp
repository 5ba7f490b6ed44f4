#include "share/share_read.h"

#include <algorithm>
#include <utility>

#include "core/share_log.h"

namespace solvane {

namespace {

// The events this machine made, or merged before, are in its clip files
// already: only the rest is news.
void ReadFile(const ShareReader& reader, const std::string& name, ShareReadState& state, ShareReadNews& news) {
  const std::string path = SharePath(reader.folder, name);
  const auto size = reader.files.SizeOf(path);
  if (!size) return;
  std::uint64_t& seen = state.sizes[name];
  if (seen == *size && *size != 0) return;
  const auto bytes = reader.files.ReadAll(path);
  if (!bytes) return;
  seen = bytes->size();
  const ShareLogRead read = ReadShareLog(*bytes);
  if (read.machine.empty()) return;
  const bool own = read.machine == reader.machine;
  std::uint64_t& applied = state.applied[read.machine];
  std::uint64_t merged = applied;
  ShareLedger& ledger = state.ledger;
  for (const SealedEntry& entry : read.entries) {
    if (own) state.nextPosition = std::max(state.nextPosition, entry.position + 1);
    if (ledger.Holds(read.machine, entry.position)) continue;
    auto event = OpenShareEntry(reader.crypto, reader.key, read.machine, entry);
    if (!event) {
      ++state.rejected;
      continue;
    }
    const ShareEventKind kind = event->kind;
    ShareLedger::TextSeen seen;
    if (!ledger.Add(std::move(*event), &seen)) continue;
    const bool known = kind != ShareEventKind::kCapture || seen.knew;
    if (own || entry.position < applied) continue;
    merged = std::max(merged, entry.position + 1);
    if (kind == ShareEventKind::kClear) {
      news.clearSeen = true;
    } else {
      news.onlyNewCaptures = news.onlyNewCaptures && !known;
      news.touched.insert(seen.text);
    }
  }
  applied = merged;
}

}  // namespace

std::string SharePath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path.push_back('\\');
  return path.append(name);
}

bool ReadShareFolder(const ShareReader& reader, ShareReadState& state, ShareReadNews& news) {
  auto names = reader.files.ListFiles(reader.folder);
  if (!names) return false;
  // This machine's own file first: its positions go on from its last entry.
  const std::string own = reader.machine + kShareLogSuffix;
  std::stable_partition(names->begin(), names->end(), [&](const std::string& name) { return name == own; });
  for (const std::string& name : *names) {
    if (name.size() > 4 && name.ends_with(kShareLogSuffix)) ReadFile(reader, name, state, news);
  }
  return true;
}

std::optional<std::string> MachineIdOf(std::string_view bytes, std::string_view programFolder,
                                       std::string_view computerName) {
  const auto lines = LinesOf(bytes);
  if (lines.size() < 3 || lines[0].size() != 2 * kMachineIdBytes || !FromHex(lines[0]) || lines[1] != programFolder ||
      lines[2] != computerName) {
    return std::nullopt;
  }
  return std::string(lines[0]);
}

std::optional<ShareKey> ShareKeyOf(std::string_view bytes, ShareCrypto& crypto) {
  const auto lines = LinesOf(bytes);
  if (lines.size() < 2) return std::nullopt;
  auto salt = FromHex(lines[0]);
  auto blob = FromHex(lines[1]);
  if (!salt || !blob) return std::nullopt;
  auto key = crypto.Unprotect(*blob);
  if (!key || key->size() != kShareKeyBytes) return std::nullopt;
  return ShareKey{std::move(*key), std::move(*salt)};
}

std::map<std::string, std::uint64_t> LoadAppliedCounts(FileSystem& files, const std::string& path) {
  std::map<std::string, std::uint64_t> applied;
  const auto bytes = files.ReadAll(path);
  if (!bytes) return applied;
  for (const std::string_view line : LinesOf(*bytes)) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) continue;
    std::uint64_t count = 0;
    bool digits = space + 1 < line.size();
    for (const char c : line.substr(space + 1)) {
      if (c < '0' || c > '9') digits = false;
      count = count * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (digits) applied[std::string(line.substr(0, space))] = count;
  }
  return applied;
}

std::optional<ShareReadAhead> ReadShareAhead(FileSystem& files, ShareCrypto& crypto, const std::string& programFolder,
                                             std::string_view computerName, const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  const auto machineBytes = files.ReadAll(programFolder + kMachineFileName);
  auto machine = machineBytes ? MachineIdOf(*machineBytes, programFolder, computerName) : std::nullopt;
  const auto keyBytes = files.ReadAll(programFolder + kShareKeyFileName);
  auto key = keyBytes ? ShareKeyOf(*keyBytes, crypto) : std::nullopt;
  if (!machine || !key) return std::nullopt;
  ShareReadAhead ahead;
  ahead.folder = folder;
  ahead.machine = std::move(*machine);
  ahead.key = std::move(key->key);
  ahead.appliedBefore = LoadAppliedCounts(files, programFolder + kShareStateFileName);
  ahead.state.applied = ahead.appliedBefore;
  if (!ReadShareFolder(ShareReader{files, crypto, ahead.folder, ahead.machine, ahead.key}, ahead.state, ahead.news)) {
    return std::nullopt;
  }
  return ahead;
}

}  // namespace solvane
