#include "core/clip_text_store.h"

#include <algorithm>

#include "core/app_error.h"
#include "core/text_buffer.h"

namespace solvane {

namespace {

constexpr std::size_t kMarkerLineLength = 7 + kKeyLength;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

std::size_t JoinedSize(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size();
  return lines.empty() ? 0 : size + 2 * (lines.size() - 1);
}

}  // namespace

// Only whole lines count as record boundaries: the writer always puts the
// header and trailer on lines of their own, and a key quoted inside a clip's
// text must not be taken for one.
void ClipTextStore::IndexLine(LineId id, const std::string& line, bool atFront) {
  if (line.size() != kMarkerLineLength) return;
  Index* index = nullptr;
  if (StartsWithNoCase(line, kHeaderMarker)) {
    index = &headers_;
  } else if (StartsWithNoCase(line, kTrailerMarker)) {
    index = &trailers_;
  } else {
    return;
  }
  auto& ids = (*index)[AsciiLower(std::string_view(line).substr(7))];
  if (atFront) {
    ids.insert(ids.begin(), id);
  } else {
    ids.push_back(id);
  }
}

void ClipTextStore::InsertAtTop(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  const std::size_t added = JoinedSize(lines) + (lines_.empty() ? 0 : 2);
  if (added > capacity_ || chars_ > capacity_ - added) throw AppError(kRichEditInsertionError);
  // Back to front, so each new line is the newest so far.
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    lines_.push_front(*it);
    --frontId_;
    IndexLine(frontId_, lines_.front(), /*atFront=*/true);
  }
  chars_ += added;
}

void ClipTextStore::Assign(std::vector<std::string> lines) {
  Clear();
  chars_ = JoinedSize(lines);
  LineId id = frontId_;
  for (auto& line : lines) {
    lines_.push_back(std::move(line));
    IndexLine(id++, lines_.back(), /*atFront=*/false);
  }
}

void ClipTextStore::Clear() {
  lines_.clear();
  headers_.clear();
  trailers_.clear();
  frontId_ = 0;
  chars_ = 0;
}

std::string ClipTextStore::Text() const {
  std::string out;
  out.reserve(chars_);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) out += kCrLf;
    out += lines_[i];
  }
  return out;
}

std::string ClipTextStore::FileBytes() const {
  std::string out;
  out.reserve(chars_ + 2);
  for (const auto& line : lines_) {
    out += line;
    out += kCrLf;
  }
  return out;
}

std::string ClipTextStore::KeyOfTitle(std::string_view titleItem) {
  // The key ends the item; a title that itself contains the marker must not
  // be mistaken for it, so take the last one.
  const std::size_t at = titleItem.rfind(kHeaderMarker);
  if (at == std::string_view::npos) return {};
  return std::string(titleItem.substr(at + kHeaderMarker.size(), kKeyLength));
}

std::optional<ClipTextStore::LineId> ClipTextStore::FirstAfter(const Index& index, const std::string& key,
                                                               LineId after) const {
  const auto found = index.find(key);
  if (found == index.end()) return std::nullopt;
  const auto& ids = found->second;
  const auto it = std::upper_bound(ids.begin(), ids.end(), after);
  if (it == ids.end()) return std::nullopt;
  return *it;
}

std::optional<std::string> ClipTextStore::Lookup(std::string_view titleItem) const {
  if (titleItem.rfind(kHeaderMarker) == std::string_view::npos) return std::nullopt;
  const std::string key = AsciiLower(KeyOfTitle(titleItem));
  if (key.size() != kKeyLength) return std::nullopt;
  const auto header = FirstAfter(headers_, key, frontId_ - 1);
  if (!header) return std::nullopt;
  // The trailer belongs below its own header; an earlier one is another
  // record's business.
  const auto trailer = FirstAfter(trailers_, key, *header);
  if (!trailer) return std::nullopt;
  std::string text;
  for (LineId id = *header + 1; id < *trailer; ++id) {
    if (id > *header + 1) text += kCrLf;
    text += lines_[static_cast<std::size_t>(id - frontId_)];
  }
  return text;
}

bool ClipTextStore::ContainsKey(std::string_view key) const {
  const std::string lower = AsciiLower(key);
  return headers_.count(lower) > 0 || trailers_.count(lower) > 0;
}

}  // namespace solvane
