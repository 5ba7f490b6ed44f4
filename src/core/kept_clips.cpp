#include "core/kept_clips.h"

#include "base/text_buffer.h"
#include "core/clip_text_store.h"

namespace solvane {

bool KeptClips::Contains(std::string_view key) const {
  return !keys_.empty() && !key.empty() && keys_.count(AsciiLower(key)) > 0;
}

bool KeptClips::ContainsItem(std::string_view titleItem) const {
  return !keys_.empty() && Contains(ClipTextStore::KeyOfTitle(titleItem));
}

void KeptClips::Set(std::string_view key, bool kept) {
  if (key.empty()) return;
  if (kept) {
    keys_.insert(AsciiLower(key));
  } else {
    keys_.erase(AsciiLower(key));
  }
}

std::string KeptClips::FileBytes() const {
  std::string bytes;
  for (const std::string& key : keys_) {
    bytes += key;
    bytes += "\r\n";
  }
  return bytes;
}

std::vector<std::string> KeptClips::KeysOfFile(std::string_view bytes) {
  std::vector<std::string> keys;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A key is what a title carries after its marker: kKeyLength characters
    // with no marker or break of their own.
    if (line.size() == kKeyLength && line.find_first_of("\\/:\r\n") == std::string_view::npos) {
      keys.emplace_back(line);
    }
  }
  return keys;
}

}  // namespace solvane
