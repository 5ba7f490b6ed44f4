#pragma once
// The shared history's merge: every machine's events, from whatever files
// they arrived in and in whatever order, give one history. It depends only
// on the set of events, so every machine that holds the same events shows
// the same clips in the same order.
//
// A clip is its text. It is shown while its latest capture or paste is
// later than its latest removal and than every Clear Clips that found it
// not kept; the newest comes first. A removal or clear names its own time,
// so an old capture that arrives late never brings a clip back.

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/share_log.h"

namespace solvane {

// When an event happened; the machine and position break ties, so that no
// two events are ever at the same place in the order.
struct ShareStamp {
  std::int64_t time = 0;
  std::string machine;
  std::uint64_t position = 0;
  auto operator<=>(const ShareStamp& other) const = default;
  static ShareStamp Of(const ShareEvent& event) { return {event.time, event.machine, event.position}; }
};

// Texts looked up by a view, without a string made for the lookup.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};
using TextStringSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;

class ShareLedger {
 public:
  // Its text is the ledger's own: valid until the ledger next changes.
  struct Clip {
    std::string_view text;
    ShareStamp lastUse;
    bool kept = false;
  };

  // What Add found with its one lookup of the event's text: whether the
  // ledger knew it before (as Knows says), and the ledger's own copy of it,
  // which lives as long as the ledger (empty for a clear).
  struct TextSeen {
    bool knew = false;
    std::string_view text;
  };
  // False for an event already held (the same machine and position, as in
  // a conflicted copy of a file). The text is moved in, not copied.
  bool Add(ShareEvent event, TextSeen* seen = nullptr);
  // Whether the text was ever captured or pasted on some machine.
  bool Knows(std::string_view text) const;
  // The clip, when it is shown.
  std::optional<Clip> Find(std::string_view text) const;
  // Every clip shown, the newest first.
  std::vector<Clip> Shown() const;
  // The latest time of any event held; removals and clears are stamped no
  // earlier than it, so that they cover everything this machine has seen,
  // whatever the other machines' clocks say.
  std::int64_t LatestTime() const { return latest_; }
  // The time for this machine's next event: now, or later than every event
  // it holds, so that a clock behind the others' still puts what the user
  // does now after everything this machine has seen.
  std::int64_t NextTime(std::int64_t now) const { return std::max(now, latest_ + 1); }
  bool Holds(const std::string& machine, std::uint64_t position) const;
  std::size_t EventCount() const;
  // The texts it holds, whether shown or not.
  std::size_t TextCount() const { return texts_.size(); }

 private:
  struct Texts {
    std::optional<ShareStamp> lastUse;
    std::optional<ShareStamp> removed;
    std::map<ShareStamp, bool> marks;  // kept or not, from then on
  };
  bool KeptAt(const Texts& texts, const ShareStamp& at) const;
  bool IsShown(const Texts& texts) const;

  // The positions held, by machine: a handful of machines, thousands of
  // positions each.
  std::map<std::string, std::unordered_set<std::uint64_t>, std::less<>> held_;
  // Looked up by a text of any length for every event and every line: a
  // hash reads the text once, where an ordered map compares it with many.
  std::unordered_map<std::string, Texts, TextHash, std::equal_to<>> texts_;
  std::set<ShareStamp> clears_;
  std::int64_t latest_ = 0;
};

}  // namespace solvane
