#pragma once
// Reading the shared folder: the other machines' files (and this one's own)
// read into the ledger, and what they brought that this machine has not
// merged yet. Also the files beside the program that say who this machine
// is, which key it shares with and how far it has merged, so that the first
// read can be made before the history that merges it exists (at start, on a
// thread of its own while the windows are made).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/share_ledger.h"
#include "platform/file_system.h"
#include "platform/share_crypto.h"

namespace solvane {

// Beside the program: this machine's id, its key, what it has merged.
inline constexpr char kMachineFileName[] = "Machine.qlx";
inline constexpr char kShareKeyFileName[] = "Shared.key.qlx";
inline constexpr char kShareStateFileName[] = "Shared.qlx";
inline constexpr char kShareLogSuffix[] = ".log";
inline constexpr std::size_t kMachineIdBytes = 16;

// What the reads have found so far, kept from one read to the next.
struct ShareReadState {
  ShareLedger ledger;
  std::map<std::string, std::uint64_t> sizes;    // each file's size when it was read, by name
  std::map<std::string, std::uint64_t> applied;  // entries merged, by machine
  std::uint64_t nextPosition = 0;                // this machine's next entry
  int rejected = 0;                              // entries that did not authenticate
};

// What reads brought that this machine has not merged yet.
struct ShareReadNews {
  // The texts whose events were new here, as the reads' ledger holds them.
  std::unordered_set<std::string_view> touched;
  bool clearSeen = false;
  bool onlyNewCaptures = true;  // nothing but captures of texts never seen
};

struct ShareReader {
  FileSystem& files;
  ShareCrypto& crypto;
  std::string folder;
  std::string machine;
  std::string key;
};

// `name` in `folder`, a separator put between them when it has none.
std::string SharePath(std::string_view folder, std::string_view name);

// Reads every log file of the folder that changed since `state` saw it;
// false when the folder cannot be listed.
bool ReadShareFolder(const ShareReader& reader, ShareReadState& state, ShareReadNews& news);

// The machine file's id, when it was made for this program folder on this
// computer (a copy of the folder elsewhere makes an id of its own).
std::optional<std::string> MachineIdOf(std::string_view bytes, std::string_view programFolder,
                                       std::string_view computerName);
struct ShareKey {
  std::string key;
  std::string salt;  // the one it was derived with
};
std::optional<ShareKey> ShareKeyOf(std::string_view bytes, ShareCrypto& crypto);
// The merge counts the state file at `path` holds; none when it is missing.
std::map<std::string, std::uint64_t> LoadAppliedCounts(FileSystem& files, const std::string& path);

// The first read of `folder`, made from the files beside the program
// before anything else reads them; none when this machine has no id or
// key yet or the folder cannot be listed.
struct ShareReadAhead {
  std::string folder, machine, key;
  std::map<std::string, std::uint64_t> appliedBefore;  // as the state file held it
  ShareReadState state;
  ShareReadNews news;
};
std::optional<ShareReadAhead> ReadShareAhead(FileSystem& files, ShareCrypto& crypto, const std::string& programFolder,
                                             std::string_view computerName, const std::string& folder);

}  // namespace solvane
