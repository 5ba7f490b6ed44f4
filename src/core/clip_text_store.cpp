#include "core/clip_text_store.h"

#include <algorithm>

#include "base/app_error.h"
#include "base/text_buffer.h"

namespace solvane {

namespace {

static_assert(kHeaderMarker.size() == kTrailerMarker.size());
constexpr std::size_t kMarkerLineLength = kHeaderMarker.size() + kKeyLength;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
  }
  return true;
}

bool EqualNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }

std::size_t JoinedSize(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size();
  return lines.empty() ? 0 : size + 2 * (lines.size() - 1);
}

}  // namespace

// Only whole lines count as record boundaries: the writer always puts the
// header and trailer on lines of their own, and a key quoted inside a clip's
// text must not be taken for one.
ClipTextStore::Marker ClipTextStore::MarkerOf(std::string_view line) {
  if (line.size() != kMarkerLineLength) return Marker::None;
  if (StartsWithNoCase(line, kHeaderMarker)) return Marker::Header;
  if (StartsWithNoCase(line, kTrailerMarker)) return Marker::Trailer;
  return Marker::None;
}

// Walking down, a header opens a record that the first trailer of its key
// below closes; header lines in between are that clip's text (a copied
// passage of a clip file quotes keys), not the start of another record. A
// header that nothing closes is kept on its own, finding no text, and the
// lines below it are read as if it were not there.
void ClipTextStore::KeepRecordHeaders(std::vector<LineId>& headers, const std::vector<LineId>& trailers) const {
  std::optional<LineId> closedAt;
  std::size_t kept = 0;
  std::size_t next = 0;  // the first of `trailers` below the header
  for (const LineId header : headers) {
    if (closedAt && header < *closedAt) continue;  // inside the record above
    while (next < trailers.size() && trailers[next] <= header) ++next;
    // The next trailer line down is most often the record's own: then it is
    // the first of its key, found without a lookup that reads a line far off.
    if (next < trailers.size() && EqualNoCase(KeyOfLine(trailers[next]), KeyOfLine(header))) {
      closedAt = trailers[next];
    } else if (const auto trailer = trailers_.FirstAbove(KeyOfLine(header), header)) {
      closedAt = trailer;
    }
    headers[kept++] = header;
  }
  headers.resize(kept);
}

void ClipTextStore::InsertAtTop(const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  std::string block;
  block.reserve(JoinedSize(lines) + 2);
  newLengths_.clear();
  for (const auto& line : lines) {
    block += line;
    block += kCrLf;
    newLengths_.push_back(line.size());
  }
  PutBlockOnTop(std::move(block), newLengths_);
}

void ClipTextStore::InsertRecordAtTop(std::string_view key, std::string_view text) {
  RecordBlock block(1, text.size());
  block.Add(key, text);
  PutRecordsOnTop(std::move(block.bytes_));
}

ClipTextStore::RecordBlock::RecordBlock(std::size_t records, std::size_t textBytes) {
  bytes_.reserve(textBytes + records * (2 * (kMarkerLineLength + 2) + 2));
  ends_.reserve(records);
}

void ClipTextStore::RecordBlock::Add(std::string_view key, std::string_view text) {
  bytes_.append(kHeaderMarker).append(key).append(kCrLf);
  AppendBufferLines(bytes_, text);
  bytes_.append(kTrailerMarker).append(key).append(kCrLf);
  ends_.push_back(bytes_.size());
}

std::size_t ClipTextStore::FittingRecords(const RecordBlock& block) const {
  const auto& ends = block.ends_;
  return static_cast<std::size_t>(
      std::partition_point(ends.begin(), ends.end(), [&](std::size_t end) { return Fits(end); }) - ends.begin());
}

void ClipTextStore::InsertRecordsAtTop(RecordBlock block, std::size_t count) {
  count = std::min(count, block.size());
  if (count == 0) return;
  if (FittingRecords(block) < count) throw AppError(kLineInsertionError);
  std::string& bytes = block.bytes_;
  bytes.resize(block.ends_[count - 1]);
  // Line by line, each line costs its own index entry; a block as large as
  // half the store is cheaper indexed with it as one loaded file.
  if (bytes.size() < chars_ / 2) {
    PutRecordsOnTop(std::move(bytes));
    return;
  }
  for (const std::string_view piece : FilePieces()) bytes += piece;
  AssignFileBytes(std::move(bytes));
}

void ClipTextStore::PutBlockOnTop(std::string bytes, const std::vector<std::size_t>& lengths) {
  if (!Fits(bytes.size())) throw AppError(kLineInsertionError);
  const std::size_t added = Added(bytes.size());
  const std::string& block = blocks_.emplace_front(std::move(bytes));
  // Back to front, so each new line is the newest so far.
  std::vector<LineId>& headers = newHeaders_;
  headers.clear();
  std::size_t end = block.size() - 2;
  for (auto it = lengths.rbegin(); it != lengths.rend(); ++it) {
    const std::size_t begin = end - *it;
    const std::string_view line = std::string_view(block).substr(begin, *it);
    captured_.push_back(line);
    --frontId_;
    const Marker marker = MarkerOf(line);
    if (marker == Marker::Header) headers.push_back(frontId_);
    if (marker == Marker::Trailer) trailers_.AddSmallest(line.substr(kTrailerMarker.size()), frontId_);
    end = begin - 2;
  }
  std::reverse(headers.begin(), headers.end());
  KeepRecordHeaders(headers);
  for (auto it = headers.rbegin(); it != headers.rend(); ++it) headers_.AddSmallest(KeyOfLine(*it), *it);
  chars_ += added;
}

void ClipTextStore::PutRecordsOnTop(std::string bytes) {
  // Every CR ends a line.
  newLengths_.clear();
  const char* const data = bytes.data();
  for (const char* from = data; from < data + bytes.size();) {
    const char* const end = FindByte(from, data + bytes.size(), '\r');
    newLengths_.push_back(static_cast<std::size_t>(end - from));
    from = end + 2;
  }
  PutBlockOnTop(std::move(bytes), newLengths_);
}

void ClipTextStore::Assign(const std::vector<std::string>& lines) {
  std::string bytes;
  bytes.reserve(JoinedSize(lines) + 2);
  for (const auto& line : lines) {
    bytes += line;
    bytes += kCrLf;
  }
  AssignFileBytes(std::move(bytes));
}

void ClipTextStore::AssignFileBytes(std::string bytes) {
  Clear();
  if (bytes.empty()) return;
  // Every block ends in CR LF, so that a run of lines can be saved with the
  // break that follows it.
  if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, kCrLf) != 0) bytes += kCrLf;
  loaded_ = blocks_.emplace_back(std::move(bytes));
  // Line numbers only, the keys read back from the lines: the lists go
  // when the load is over, but a heap may keep their memory for good.
  std::vector<LineId> headers, trailers;
  ScanLoaded(headers, trailers);
  chars_ = loaded_.size() - 2;  // the last CR LF ends the file, not a line
  trailers_.AddAllLargest(trailers);
  KeepRecordHeaders(headers, trailers);
  headers_.AddAllLargest(headers);
}

void ClipTextStore::ScanLoaded(std::vector<LineId>& headers, std::vector<LineId>& trailers) const {
  // Every CR LF ends a line (two cannot overlap), so a marker line is a
  // slash at the start of the block or after a CR LF, with the next CR LF
  // right after a marker's length. Only slashes are looked at.
  const char* const data = loaded_.data();
  const std::size_t size = loaded_.size();
  for (std::size_t from = 0; from < size;) {
    const std::size_t at = static_cast<std::size_t>(FindByte(data + from, data + size, '/') - data);
    if (at == size) break;
    from = at + 1;
    if (at != 0 && (at < 2 || data[at - 2] != '\r' || data[at - 1] != '\n')) continue;
    if (size - at < kMarkerLineLength + 2) break;
    const std::string_view line(data + at, kMarkerLineLength);
    if (loaded_.compare(at + kMarkerLineLength, 2, kCrLf) != 0 || line.find(kCrLf) != std::string_view::npos) continue;
    const auto id = static_cast<LineId>(at);
    switch (MarkerOf(line)) {
      case Marker::Header:
        headers.push_back(id);
        break;
      case Marker::Trailer:
        trailers.push_back(id);
        break;
      case Marker::None:
        break;
    }
  }
}

std::vector<std::string> ClipTextStore::RecordKeys() const {
  std::vector<LineId> headers, trailers;
  for (LineId id = frontId_; id < 0; ++id) {
    if (MarkerOf(CapturedLine(id)) == Marker::Header) headers.push_back(id);
  }
  ScanLoaded(headers, trailers);
  KeepRecordHeaders(headers);
  std::vector<std::string> keys;
  keys.reserve(headers.size());
  for (const LineId header : headers) keys.emplace_back(KeyOfLine(header));
  return keys;
}

void ClipTextStore::Clear() {
  captured_.clear();
  loaded_ = {};
  loadedLines_.clear();
  blocks_.clear();
  headers_.Clear();
  trailers_.Clear();
  frontId_ = 0;
  chars_ = 0;
}

void ClipTextStore::TakeFrom(ClipTextStore& other) {
  if (&other == this) return;
  // The blocks' storage changes hands as it stands, so the lines' views
  // into it stay good.
  blocks_ = std::move(other.blocks_);
  captured_ = std::move(other.captured_);
  loaded_ = other.loaded_;
  loadedLines_ = std::move(other.loadedLines_);
  frontId_ = other.frontId_;
  chars_ = other.chars_;
  headers_.TakeFrom(other.headers_);
  trailers_.TakeFrom(other.trailers_);
  other.Clear();
}

std::vector<std::string_view> ClipTextStore::FilePieces() const {
  // The blocks hold the lines in order, each with its CR LF.
  return std::vector<std::string_view>(blocks_.begin(), blocks_.end());
}

std::string ClipTextStore::FileBytes() const {
  std::string out;
  out.reserve(Empty() ? 0 : chars_ + 2);
  for (const std::string_view piece : FilePieces()) out += piece;
  return out;
}

std::string ClipTextStore::Text() const {
  std::string out = FileBytes();
  if (!out.empty()) out.resize(out.size() - 2);
  return out;
}

std::string ClipTextStore::KeyOfTitle(std::string_view titleItem) {
  // The key ends the item; a title that itself contains the marker must not
  // be mistaken for it, so take the last one.
  const std::size_t at = titleItem.rfind(kHeaderMarker);
  if (at == std::string_view::npos) return {};
  return std::string(titleItem.substr(at + kHeaderMarker.size(), kKeyLength));
}

std::optional<std::string> ClipTextStore::Lookup(std::string_view titleItem) const {
  if (titleItem.rfind(kHeaderMarker) == std::string_view::npos) return std::nullopt;
  const std::string key = KeyOfTitle(titleItem);
  if (key.size() != kKeyLength) return std::nullopt;
  const auto header = headers_.FirstAbove(key, frontId_ - 1);
  if (!header) return std::nullopt;
  // The trailer belongs below its own header; an earlier one is another
  // record's business.
  const auto trailer = trailers_.FirstAbove(key, *header);
  if (!trailer) return std::nullopt;
  // The lines in between: captured ones one by one, then a run of the
  // loaded block as it stands (its lines already joined by CR LF).
  std::string text;
  bool first = true;
  const auto add = [&](std::string_view piece) {
    if (!first) text += kCrLf;
    text += piece;
    first = false;
  };
  for (LineId id = *header + 1; id < std::min<LineId>(*trailer, 0); ++id) add(CapturedLine(id));
  const std::size_t from = *header < 0 ? 0 : static_cast<std::size_t>(*header) + kMarkerLineLength + 2;
  if (*trailer >= 0 && static_cast<std::size_t>(*trailer) > from) {
    add(loaded_.substr(from, static_cast<std::size_t>(*trailer) - 2 - from));
  }
  return text;
}

std::optional<std::string_view> ClipTextStore::TextView(std::string_view key) const {
  if (key.size() != kKeyLength) return std::nullopt;
  const auto header = headers_.FirstAbove(key, frontId_ - 1);
  if (!header) return std::nullopt;
  const auto trailer = trailers_.FirstAbove(key, *header);
  if (!trailer) return std::nullopt;
  if (*header >= 0) {  // a loaded record: the run between its marker lines
    const std::size_t from = static_cast<std::size_t>(*header) + kMarkerLineLength + 2;
    const auto to = static_cast<std::size_t>(*trailer);
    return to > from ? loaded_.substr(from, to - 2 - from) : std::string_view();
  }
  if (*trailer >= 0) return std::nullopt;
  if (*trailer == *header + 1) return std::string_view();
  // A captured record's lines follow one another in its block, each after
  // the CR LF of the one before.
  const std::string_view first = CapturedLine(*header + 1);
  std::string_view last = first;
  for (LineId id = *header + 2; id < *trailer; ++id) {
    const std::string_view line = CapturedLine(id);
    if (line.data() != last.data() + last.size() + kCrLf.size()) return std::nullopt;
    last = line;
  }
  return std::string_view(first.data(), static_cast<std::size_t>(last.data() + last.size() - first.data()));
}

std::string_view ClipTextStore::Line(int index) const {
  const auto i = static_cast<std::size_t>(index);
  return i < captured_.size() ? CapturedLine(frontId_ + index) : LoadedLines()[i - captured_.size()];
}

const std::vector<std::string_view>& ClipTextStore::LoadedLines() const {
  // A loaded block holds at least one line, so an empty list means not split yet.
  if (loadedLines_.empty()) {
    for (std::size_t start = 0; start < loaded_.size();) {
      const std::size_t end = loaded_.find(kCrLf, start);
      loadedLines_.push_back(loaded_.substr(start, end - start));
      start = end + 2;
    }
  }
  return loadedLines_;
}

std::string_view ClipTextStore::KeyOfLine(LineId id) const {
  const std::string_view line =
      id < 0 ? CapturedLine(id) : loaded_.substr(static_cast<std::size_t>(id), kMarkerLineLength);
  return line.substr(kHeaderMarker.size());  // both markers are as long
}

std::vector<std::string> ClipTextStore::RemoveKey(std::string_view key) {
  if (key.empty() || !ContainsKey(key)) return {};
  const std::string wanted = AsciiLower(key);
  return RemoveKeys([&](std::string_view lowerKey) { return lowerKey == wanted; });
}

void ClipTextStore::Partition(const std::function<bool(std::string_view lowerKey)>& ours,
                              std::vector<std::string>& removed, std::string* kept) const {
  if (kept != nullptr) kept->reserve(chars_ + 2);
  const auto keep = [&](std::string_view line) {
    if (kept == nullptr) return;
    *kept += line;
    *kept += kCrLf;
  };
  // The lines of a record still open, and its key: taken once its trailer
  // comes. Inside it every line is the record's, markers included.
  std::vector<std::string_view> open;
  std::string openKey;
  for (const std::string_view piece : FilePieces()) {
    // Every block ends in CR LF.
    for (std::size_t at = 0; at < piece.size();) {
      const std::size_t end = piece.find(kCrLf, at);
      const std::string_view line = piece.substr(at, end - at);
      at = end + 2;
      const Marker marker = MarkerOf(line);
      const std::string key = marker == Marker::None ? std::string() : AsciiLower(line.substr(kHeaderMarker.size()));
      if (!open.empty()) {
        open.push_back(line);
        if (marker == Marker::Trailer && key == openKey) {
          removed.insert(removed.end(), open.begin(), open.end());
          open.clear();
        }
      } else if (marker == Marker::None || !ours(key)) {
        keep(line);
      } else if (marker == Marker::Header) {
        open.push_back(line);
        openKey = key;
      } else {
        removed.emplace_back(line);  // a trailer with no record of its own
      }
    }
  }
  // A header that no trailer closed goes alone; what followed it stays.
  if (!open.empty()) {
    removed.emplace_back(open.front());
    for (std::size_t i = 1; i < open.size(); ++i) {
      const Marker marker = MarkerOf(open[i]);
      if (marker != Marker::None && ours(AsciiLower(open[i].substr(kHeaderMarker.size())))) {
        removed.emplace_back(open[i]);
      } else {
        keep(open[i]);
      }
    }
  }
}

std::vector<std::string> ClipTextStore::RemoveKeys(const std::function<bool(std::string_view lowerKey)>& ours) {
  std::vector<std::string> removed;
  std::string kept;
  Partition(ours, removed, &kept);
  AssignFileBytes(std::move(kept));
  return removed;
}

std::vector<std::string> ClipTextStore::RecordLines(const std::function<bool(std::string_view lowerKey)>& ours) const {
  std::vector<std::string> lines;
  Partition(ours, lines, nullptr);
  return lines;
}

bool ClipTextStore::ContainsKey(std::string_view key) const {
  return headers_.Contains(key) || trailers_.Contains(key);
}

}  // namespace solvane
