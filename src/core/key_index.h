#pragma once
// Line numbers of the store's header (or trailer) lines by clip key.
//
// One flat table with open addressing: loading a store of 20,000 records
// makes no allocation per key, and a key that occurs once (the rule) keeps
// its only line number in its slot. Keys compare without letter case.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace solvane {

class KeyIndex {
 public:
  using LineId = std::int64_t;
  // Longer keys are never held; asked for, they are not found.
  static constexpr std::size_t kMaxKeyLength = 15;

  // A key in lower case and its length, in two words.
  struct Packed {
    std::uint64_t lo = 0, hi = 0;
    bool operator==(const Packed& other) const { return lo == other.lo && hi == other.hi; }
  };
  // The key must be at most kMaxKeyLength long.
  static Packed Pack(std::string_view key);
  struct Entry {
    Packed key;
    LineId id;
  };

  void Clear();
  // Room for this many keys without growing.
  void Reserve(std::size_t keys);

  // The key's line numbers stay ascending: AddSmallest takes a number below
  // all it already holds for the key, AddLargest one above.
  void AddSmallest(std::string_view key, LineId id);
  void AddSmallest(const Packed& key, LineId id);
  void AddLargest(std::string_view key, LineId id);
  // AddLargest for each entry in order (a whole file's worth): the table
  // is read ahead, so the inserts do not wait on memory one by one.
  void AddAllLargest(const std::vector<Entry>& entries);

  // The smallest line number of the key above `after`.
  std::optional<LineId> FirstAbove(std::string_view key, LineId after) const;
  std::optional<LineId> FirstAbove(const Packed& key, LineId after) const;
  bool Contains(std::string_view key) const;
  std::size_t size() const { return used_; }

 private:
  struct Slot {
    Packed key;
    LineId first = 0;    // the smallest line number
    std::int32_t more = -1;  // index into more_ of the others, ascending; -1: none
    bool used = false;
  };

  static std::uint64_t Hash(const Packed& key);
  std::size_t Find(const Packed& key) const;  // the key's slot, or the empty one it would take
  Slot& Claim(const Packed& key, bool& fresh);
  void AddLargest(const Packed& key, LineId id);
  void Grow(std::size_t slots);

  // A power of two in size, at most three quarters used: at half, the
  // tables of a 20,000-clip history took 4 MB, a fifth of its memory
  // beyond the clips' own bytes; the keys hash evenly, so the longer probe
  // runs cost little.
  std::vector<Slot> slots_;
  std::vector<std::vector<LineId>> more_;
  std::size_t used_ = 0;
};

}  // namespace solvane
