// The text store file (Cb1.qlx) as any program or a damaged disk may leave
// it: loading keeps every line, the file bytes split back to the same lines,
// and every lookup (by a key the file holds, or by a line that looks like a
// title) gives what a walk down the lines gives, before and after a new
// record arrives at the top.

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/clip_files.h"
#include "core/clip_text_store.h"
#include "base/text_buffer.h"
#include "fuzz_support.h"
#include "platform/fake/fake_file_system.h"

namespace solvane::fuzz {

namespace {

const std::string kPath = std::string("C:\\Clips\\") + kStoreFileName;
constexpr std::size_t kMarkerLineLength = kHeaderMarker.size() + kKeyLength;
// Each lookup is checked against a scan of the whole store: keep it cheap.
constexpr std::size_t kMaxLookups = 64;

std::vector<std::string> ExpectedLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = start;
    while (end < bytes.size() && !(bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')) ++end;
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to; ++i) {
    if (i > from) text += "\r\n";
    text += lines[i];
  }
  return text;
}

bool IsMarkerLine(const std::string& line, std::string_view marker, std::string_view key) {
  return line.size() == kMarkerLineLength && EqualsNoCase(std::string_view(line).substr(0, marker.size()), marker) &&
         EqualsNoCase(std::string_view(line).substr(marker.size()), key);
}

// The records by a walk down the lines: a header line opens a record that
// the first trailer line of its key below closes, and the lines between are
// its text, marker lines included. A header that nothing closes stands alone
// and the walk goes on below it.
struct ScannedRecord {
  std::string key;
  std::size_t header;
  std::optional<std::size_t> trailer;
};

std::vector<ScannedRecord> ScanRecords(const std::vector<std::string>& lines) {
  std::vector<ScannedRecord> records;
  for (std::size_t h = 0; h < lines.size(); ++h) {
    const std::string_view line = lines[h];
    if (line.size() != kMarkerLineLength || !EqualsNoCase(line.substr(0, kHeaderMarker.size()), kHeaderMarker))
      continue;
    ScannedRecord record{std::string(line.substr(kHeaderMarker.size())), h, std::nullopt};
    for (std::size_t t = h + 1; t < lines.size() && !record.trailer; ++t) {
      if (IsMarkerLine(lines[t], kTrailerMarker, record.key)) record.trailer = t;
    }
    if (record.trailer) h = *record.trailer;
    records.push_back(std::move(record));
  }
  return records;
}

// The lookup by a scan: the key is the 13 characters after the item's last
// header marker; the first record of that key gives its text.
std::optional<std::string> ScanLookup(const std::vector<std::string>& lines, std::string_view item) {
  const std::size_t at = item.rfind(kHeaderMarker);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view key = item.substr(at + kHeaderMarker.size());
  if (key.size() < kKeyLength) return std::nullopt;
  const std::string_view wanted = key.substr(0, kKeyLength);
  for (const ScannedRecord& record : ScanRecords(lines)) {
    if (!EqualsNoCase(record.key, wanted)) continue;
    if (!record.trailer) return std::nullopt;
    return Joined(lines, record.header + 1, *record.trailer);
  }
  return std::nullopt;
}

std::string SwapCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

// Title items to look up: one for every key on a marker line (as the list
// would show it, and in the other letter case), and every line that carries
// a header marker itself.
std::vector<std::string> ItemsToLookUp(const std::vector<std::string>& lines) {
  std::set<std::string> items;
  for (const std::string& line : lines) {
    if (items.size() >= kMaxLookups) break;
    if (line.size() == kMarkerLineLength && (EqualsNoCase(std::string_view(line).substr(0, 7), kHeaderMarker) ||
                                             EqualsNoCase(std::string_view(line).substr(0, 7), kTrailerMarker))) {
      const std::string key = line.substr(kHeaderMarker.size());
      items.insert("title" + kTitlePadding + key);
      items.insert("title" + kTitlePadding + SwapCase(key));
    }
    if (line.find(kHeaderMarker) != std::string::npos) items.insert(line);
  }
  return {items.begin(), items.end()};
}

void CheckStore(const ClipTextStore& store, const std::vector<std::string>& lines,
                const std::vector<std::string>& items) {
  FUZZ_CHECK(store.Count() == static_cast<int>(lines.size()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(std::string_view(store.Line(static_cast<int>(i))) == lines[i]);
  }
  const std::string text = Joined(lines, 0, lines.size());
  FUZZ_CHECK(store.Text() == text);
  FUZZ_CHECK(store.CharCount() == text.size());
  FUZZ_CHECK(store.FileBytes() == JoinFileLines(lines));
  FUZZ_CHECK(SplitStoreFile(store.FileBytes()) == lines);
  for (const std::string& item : items) {
    FUZZ_CHECK(store.Lookup(item) == ScanLookup(lines, item));
    const std::string key = ClipTextStore::KeyOfTitle(item);
    if (key.size() != kKeyLength) continue;
    // A key is taken when a record starts with it or any trailer line names it.
    bool marked = false;
    for (const std::string& line : lines) marked = marked || IsMarkerLine(line, kTrailerMarker, key);
    for (const ScannedRecord& record : ScanRecords(lines)) marked = marked || EqualsNoCase(record.key, key);
    FUZZ_CHECK(store.ContainsKey(key) == marked);
  }
}

}  // namespace

std::vector<std::string> Seeds() {
  const std::string hdr(kHeaderMarker), tlr(kTrailerMarker);
  const std::string a = "0000001000002", b = "0000003000004";
  return {
      "",
      hdr + a + "\r\nfirst line\r\nsecond line\r\n" + tlr + a + "\r\n" + hdr + b + "\r\nolder\r\n" + tlr + b + "\r\n",
      // a key in another letter case, a record without its trailer, an empty record
      "/:HDR:\\abcdefghijklm\r\nx\r\n/:tlr:\\ABCDEFGHIJKLM\r\n" + hdr + a + "\r\nno trailer\r\n" + hdr + b + "\r\n" +
          tlr + b,
      // the same key twice; a marker quoted inside a line; lone CR and LF
      hdr + a + "\r\nnew\r\n" + tlr + a + "\r\n" + hdr + a + "\r\nold\r\n" + tlr + a + "\r\n" + "see " + hdr + a +
          " here\r\na\rb\nc\r\r\n",
      // a trailer above its header
      tlr + a + "\r\n" + hdr + a + "\r\nbody\r\n",
      // a record whose text quotes the header line of the record below it
      hdr + b + "\r\ncopied\r\n" + hdr + a + "\r\n" + tlr + b + "\r\n" + hdr + a + "\r\nreal\r\n" + tlr + a + "\r\n",
      "title" + kTitlePadding + a + "\r\n",
  };
}

std::vector<std::string> DictionaryWords() {
  return {
      "\r\n",       std::string(kHeaderMarker), std::string(kTrailerMarker), "/:HDR:\\", "/:TLR:\\", "0000001000002",
      kTitlePadding};
}

}  // namespace solvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace solvane;
  using namespace solvane::fuzz;
  const std::string_view bytes = Bytes(data, size);
  fake::FakeFileSystem files;
  files.files[kPath] = std::string(bytes);

  std::vector<std::string> lines = ExpectedLines(bytes);
  FUZZ_CHECK(SplitStoreFile(bytes) == lines);
  ClipTextStore store;
  LoadTextStore(store, files, kPath);
  std::vector<std::string> items = ItemsToLookUp(lines);
  CheckStore(store, lines, items);

  // A capture puts a record with a key the store does not hold on top; the
  // older records must be found as before.
  std::string key = "zz00000000000";
  for (int n = 0; store.ContainsKey(key); ++n) key = "zz" + std::to_string(1000000000 + n) + "0";
  const std::vector<std::string> record = {std::string(kHeaderMarker) + key, "captured", "",
                                           std::string(kTrailerMarker) + key};
  store.InsertAtTop(record);
  lines.insert(lines.begin(), record.begin(), record.end());
  items.push_back("captured" + kTitlePadding + key);
  CheckStore(store, lines, items);
  FUZZ_CHECK(store.Lookup(items.back()) == std::optional<std::string>("captured\r\n"));

  SaveTextStore(store, files, kPath);
  FUZZ_CHECK(files.files[kPath] == JoinFileLines(lines));
  return 0;
}
