#pragma once
// The clips kept for good, by key: the 72-line trim passes them by and Clear
// Clips leaves them. Their file ("Kept.qlx" beside the clip files) holds one
// key a line.

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace solvane {

class KeptClips {
 public:
  // Keys compare without regard to letter case, as the store's do.
  bool Contains(std::string_view key) const;
  // Whether the clip of a title list item is kept.
  bool ContainsItem(std::string_view titleItem) const;
  void Set(std::string_view key, bool kept);
  void Clear() { keys_.clear(); }
  bool Empty() const { return keys_.empty(); }
  int Count() const { return static_cast<int>(keys_.size()); }

  // The file's bytes: each key and CR LF, in key order.
  std::string FileBytes() const;
  // The keys a file's bytes name, one a line (CR LF or LF); blank lines and
  // lines that are no key are passed over.
  static std::vector<std::string> KeysOfFile(std::string_view bytes);

 private:
  std::set<std::string> keys_;  // in small letters
};

}  // namespace solvane
