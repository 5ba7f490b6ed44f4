#pragma once
// Line numbers of the store's header (or trailer) lines by clip key.
//
// One flat table with open addressing, a word per slot: the line's number
// and a few bits of its key's hash. The key itself is not copied into the
// table: it is read back from the indexed line when the bits match, through
// the KeySource the table is given. Loading a store of 20,000 records makes
// no allocation per key, and a key that occurs once (the rule) keeps its
// only line number in its slot. Keys compare without letter case.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace solvane {

class KeyIndex {
 public:
  using LineId = std::int64_t;
  // Longer keys are never held; asked for, they are not found.
  static constexpr std::size_t kMaxKeyLength = 15;
  // Line numbers the table can hold: from -2^47 to 2^47 - 1.
  static constexpr LineId kIdBias = LineId{1} << 47;

  // Where the table reads the key of a line it holds.
  class KeySource {
   public:
    virtual std::string_view KeyOfLine(LineId id) const = 0;

   protected:
    ~KeySource() = default;
  };

  // `source` must outlive the table and give, for every line number added,
  // the key it was added under.
  explicit KeyIndex(const KeySource& source) : source_(source) {}
  KeyIndex(const KeyIndex&) = delete;
  KeyIndex& operator=(const KeyIndex&) = delete;

  void Clear();
  // Holds what `other` held, which is left empty: the same line numbers,
  // whose keys this table's source must now give.
  void TakeFrom(KeyIndex& other);
  // Room for this many keys without growing.
  void Reserve(std::size_t keys);

  // The key's line numbers stay ascending: AddSmallest takes a number below
  // all it already holds for the key, AddLargest one above.
  void AddSmallest(std::string_view key, LineId id);
  void AddLargest(std::string_view key, LineId id);
  // AddLargest for each line in order (a whole file's worth), under the
  // key the source gives it: the table is read ahead, so the inserts do
  // not wait on memory one by one.
  void AddAllLargest(const std::vector<LineId>& ids);

  // The smallest line number of the key above `after`.
  std::optional<LineId> FirstAbove(std::string_view key, LineId after) const;
  bool Contains(std::string_view key) const;
  std::size_t size() const { return used_; }

 private:
  // A key in lower case and its length, in two words.
  struct Packed {
    std::uint64_t lo = 0, hi = 0;
    bool operator==(const Packed& other) const { return lo == other.lo && hi == other.hi; }
  };
  // The key must be at most kMaxKeyLength long.
  static Packed Pack(std::string_view key);

  // A slot's word: 0 when free; else bit 63 set, 15 bits of the key's hash
  // and the key's smallest line number, biased by kIdBias, in the low 48.
  using Slot = std::uint64_t;
  static constexpr Slot kUsed = Slot{1} << 63;
  static constexpr int kTagShift = 48;
  static constexpr Slot kIdMask = (Slot{1} << kTagShift) - 1;
  static Slot TagOf(std::uint64_t hash) { return kUsed | ((hash >> 49) << kTagShift); }
  static LineId IdOf(Slot slot) { return static_cast<LineId>(slot & kIdMask) - kIdBias; }
  static Slot Make(Slot tag, LineId id) { return tag | static_cast<Slot>(id + kIdBias); }

  struct PackedHash {
    std::size_t operator()(const Packed& key) const { return static_cast<std::size_t>(Hash(key)); }
  };

  static std::uint64_t Hash(const Packed& key);
  // The key's slot, or the free one it would take.
  std::size_t Find(const Packed& key, std::uint64_t hash) const;
  // The key's slot, claimed if it was free; `fresh` says which.
  Slot& Claim(const Packed& key, std::uint64_t hash, bool& fresh);
  void AddSmallest(const Packed& key, LineId id);
  void AddLargest(const Packed& key, std::uint64_t hash, LineId id);
  std::optional<LineId> FirstAbove(const Packed& key, LineId after) const;
  void Grow(std::size_t slots);

  const KeySource& source_;
  // A power of two in size, at most three quarters used. A slot of its
  // own key and number (32 bytes) made the two tables of a 20,000-clip
  // history 2 MB; a word a slot makes them half a megabyte.
  std::vector<Slot> slots_;
  // The other line numbers of the keys that have more than one, ascending.
  std::unordered_map<Packed, std::vector<LineId>, PackedHash> more_;
  std::size_t used_ = 0;
};

}  // namespace solvane
