#include "core/key_index.h"

#include <algorithm>
#include <array>

#include "base/text_buffer.h"

namespace solvane {

KeyIndex::Packed KeyIndex::Pack(std::string_view key) {
  Packed packed;
  const std::size_t n = key.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto byte = static_cast<std::uint64_t>(static_cast<unsigned char>(AsciiLower(key[i])));
    if (i < 8) {
      packed.lo |= byte << (8 * i);
    } else {
      packed.hi |= byte << (8 * (i - 8));
    }
  }
  // Keys of different lengths must differ even when one is the other's prefix.
  packed.hi |= static_cast<std::uint64_t>(n) << 56;
  return packed;
}

std::uint64_t KeyIndex::Hash(const Packed& key) {
  // Keys are mostly digits that differ in their last places: mix every
  // byte into the low bits the mask keeps and the high bits of the tag.
  std::uint64_t h = key.lo ^ (key.hi * 0xC2B2AE3D27D4EB4Full);
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 33);
}

std::size_t KeyIndex::Find(const Packed& key, std::uint64_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const Slot tag = TagOf(hash);
  for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
    const Slot slot = slots_[i];
    if (slot == 0) return i;
    // Only a slot whose bits match costs a read of its line.
    if ((slot & ~kIdMask) == tag && Pack(source_.KeyOfLine(IdOf(slot))) == key) return i;
  }
}

void KeyIndex::Clear() {
  slots_.clear();
  more_.clear();
  used_ = 0;
}

void KeyIndex::TakeFrom(KeyIndex& other) {
  slots_ = std::move(other.slots_);
  more_ = std::move(other.more_);
  used_ = other.used_;
  other.Clear();
}

void KeyIndex::Reserve(std::size_t keys) {
  std::size_t want = 16;
  while (3 * want < 4 * keys) want *= 2;
  if (want > slots_.size()) Grow(want);
}

void KeyIndex::Grow(std::size_t slots) {
  if (used_ == 0) {  // nothing to move: reuse the memory of a cleared table
    slots_.assign(slots, 0);
    return;
  }
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(slots, 0);
  // The keys are read back from their lines; each is in the table once.
  const std::size_t mask = slots - 1;
  for (const Slot slot : old) {
    if (slot == 0) continue;
    std::size_t i = static_cast<std::size_t>(Hash(Pack(source_.KeyOfLine(IdOf(slot))))) & mask;
    while (slots_[i] != 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

KeyIndex::Slot& KeyIndex::Claim(const Packed& key, std::uint64_t hash, bool& fresh) {
  if (4 * (used_ + 1) > 3 * slots_.size()) Grow(std::max<std::size_t>(16, 2 * slots_.size()));
  Slot& slot = slots_[Find(key, hash)];
  fresh = slot == 0;
  if (fresh) {
    slot = TagOf(hash);
    ++used_;
  }
  return slot;
}

void KeyIndex::AddSmallest(std::string_view key, LineId id) {
  if (key.size() > kMaxKeyLength) return;
  AddSmallest(Pack(key), id);
}

void KeyIndex::AddSmallest(const Packed& key, LineId id) {
  bool fresh = false;
  Slot& slot = Claim(key, Hash(key), fresh);
  if (!fresh) {
    auto& others = more_[key];
    others.insert(others.begin(), IdOf(slot));
  }
  slot = Make(slot & ~kIdMask, id);
}

void KeyIndex::AddLargest(std::string_view key, LineId id) {
  if (key.size() > kMaxKeyLength) return;
  const Packed packed = Pack(key);
  AddLargest(packed, Hash(packed), id);
}

void KeyIndex::AddLargest(const Packed& key, std::uint64_t hash, LineId id) {
  bool fresh = false;
  Slot& slot = Claim(key, hash, fresh);
  if (fresh) {
    slot = Make(slot, id);
    return;
  }
  more_[key].push_back(id);
}

void KeyIndex::AddAllLargest(const std::vector<LineId>& ids) {
  Reserve(used_ + ids.size());  // no growing below, so the mask holds
  // Each key is read and hashed once, kAhead lines before it goes in (its
  // line fetched kAhead lines before that), and its slot is fetched
  // meanwhile.
  constexpr std::size_t kAhead = 8;
  struct Ahead {
    Packed key;
    std::uint64_t hash = 0;
  };
  std::array<Ahead, kAhead> ring{};
  [[maybe_unused]] const std::size_t mask = slots_.size() - 1;
  const auto look = [&](std::size_t i) {
#if defined(__GNUC__)
    // The line a later round reads its key from, which the scan before
    // has long left behind.
    if (i + kAhead < ids.size()) __builtin_prefetch(source_.KeyOfLine(ids[i + kAhead]).data());
#endif
    Ahead& ahead = ring[i % kAhead];
    ahead.key = Pack(source_.KeyOfLine(ids[i]));
    ahead.hash = Hash(ahead.key);
#if defined(__GNUC__)
    __builtin_prefetch(&slots_[static_cast<std::size_t>(ahead.hash) & mask]);
#endif
  };
  for (std::size_t i = 0; i < std::min(kAhead, ids.size()); ++i) look(i);
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const Ahead next = ring[i % kAhead];
    if (i + kAhead < ids.size()) look(i + kAhead);
    AddLargest(next.key, next.hash, ids[i]);
  }
}

std::optional<KeyIndex::LineId> KeyIndex::FirstAbove(std::string_view key, LineId after) const {
  if (key.size() > kMaxKeyLength) return std::nullopt;
  return FirstAbove(Pack(key), after);
}

std::optional<KeyIndex::LineId> KeyIndex::FirstAbove(const Packed& key, LineId after) const {
  if (slots_.empty()) return std::nullopt;
  const Slot slot = slots_[Find(key, Hash(key))];
  if (slot == 0) return std::nullopt;
  if (IdOf(slot) > after) return IdOf(slot);
  const auto more = more_.find(key);
  if (more == more_.end()) return std::nullopt;
  const auto& others = more->second;
  const auto it = std::upper_bound(others.begin(), others.end(), after);
  if (it == others.end()) return std::nullopt;
  return *it;
}

bool KeyIndex::Contains(std::string_view key) const {
  if (slots_.empty() || key.size() > kMaxKeyLength) return false;
  const Packed packed = Pack(key);
  return slots_[Find(packed, Hash(packed))] != 0;
}

}  // namespace solvane
