#pragma once
// The clip text store: every clip's full text as a record of lines, newest
// first, framed by a header line "/:hdr:\" + key and a trailer line
// "/:tlr:\" + key.
//
// Records only ever arrive at the top, so each line gets a stable number
// (smaller for newer lines) and header and trailer lines are indexed by key.
// A capture therefore costs the size of its own record, and a lookup costs
// the size of the clip it returns, however large the store grows.
//
// The bytes live in blocks exactly as the file holds them (each line followed
// by CR LF): a loaded file is one block, each captured record another, and
// saving writes the blocks as they stand. A captured line is a view into its
// block, numbered down from -1. A loaded line's number is its offset in the
// file: loading looks only at the lines that can be markers, so it neither
// copies the file nor keeps anything per line. A clip's text in the file is
// the run of bytes between its header and its trailer line. Many records
// put in at once (a merge) become one block; when it is as large as half
// the store, it and the store are indexed again as one loaded file.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/key_index.h"

namespace solvane {

inline constexpr std::string_view kHeaderMarker = "/:hdr:\\";
inline constexpr std::string_view kTrailerMarker = "/:tlr:\\";
inline constexpr std::size_t kKeyLength = 13;
// Between a title and its header marker: pushes the marker and key out of view.
inline const std::string kTitlePadding = std::string(70, ' ') + std::string(kHeaderMarker);

class ClipTextStore : private KeyIndex::KeySource {
 public:
  // Characters the store can hold, counting CR LF between lines as two.
  static constexpr std::size_t kCapacity = 16777215;

  ClipTextStore() = default;
  // The lines and their indexes point into the store's own blocks.
  ClipTextStore(const ClipTextStore&) = delete;
  ClipTextStore& operator=(const ClipTextStore&) = delete;

  int Count() const { return static_cast<int>(captured_.size() + LoadedLines().size()); }
  // Without splitting a loaded file into lines, as Count does.
  bool Empty() const { return captured_.empty() && loaded_.empty(); }
  std::string_view Line(int index) const;
  std::size_t CharCount() const { return chars_; }
  std::size_t capacity() const { return capacity_; }
  // Tests use a small capacity to reach the limit cheaply.
  void set_capacity(std::size_t capacity) { capacity_ = capacity; }

  // The lines become lines 0 onward. Throws AppError "RichEdit line insertion
  // error" and changes nothing when they do not fit.
  void InsertAtTop(const std::vector<std::string>& lines);
  // The record of `text` under `key`: its header line, the text's lines as
  // SplitBufferLines cuts them, its trailer line; put in as InsertAtTop
  // puts them, without a string for each line. Fails as InsertAtTop does.
  void InsertRecordAtTop(std::string_view key, std::string_view text);

  // Records gathered to be put in together (a merge of many clips), each
  // as InsertRecordAtTop makes it.
  class RecordBlock {
   public:
    // Room for that many records of texts that long in all (with CR LF
    // breaks), made at once: a block grown bit by bit touches twice the memory.
    RecordBlock(std::size_t records, std::size_t textBytes);
    void Add(std::string_view key, std::string_view text);
    std::size_t size() const { return ends_.size(); }

   private:
    friend class ClipTextStore;
    std::string bytes_;
    std::vector<std::size_t> ends_;  // where each record ends
  };
  // How many of the block's records, from its first, the store can still take.
  std::size_t FittingRecords(const RecordBlock& block) const;
  // The block's first `count` records, the first of them on top. Fails as
  // InsertAtTop does, changing nothing, when they do not all fit.
  void InsertRecordsAtTop(RecordBlock block, std::size_t count);

  // Replaces the whole content (loading a file). A file larger than the
  // capacity is still loaded whole: losing stored clips is worse than
  // holding more than the limit.
  void Assign(const std::vector<std::string>& lines);
  // The same from the file's bytes: lines end at CR LF, and a last line
  // without one still counts.
  void AssignFileBytes(std::string bytes);
  void Clear();
  // Holds what `other` holds, which is left empty, without copying or
  // indexing anything again: a store loaded elsewhere (on another thread)
  // becomes this one. The capacity stays this store's.
  void TakeFrom(ClipTextStore& other);

  // All lines joined with CR LF.
  std::string Text() const;
  // All lines, each followed by CR LF: the file's bytes.
  std::string FileBytes() const;
  // The same bytes in pieces, in order, without joining them first.
  std::vector<std::string_view> FilePieces() const;

  // The text of the clip whose title item is given: the lines after the
  // newest header line of its key up to the first trailer line of that key
  // below it, joined with CR LF. Keys compare without regard to letter case.
  // nullopt when the item has no key or the store has no such record.
  std::optional<std::string> Lookup(std::string_view titleItem) const;

  // The text Lookup gives for a key, as a view of the store's own bytes
  // (its lines joined by CR LF as they stand there): nothing is copied.
  // Valid until the store is cleared or assigned. nullopt when the store has
  // no such record, and when the record's lines do not lie side by side
  // (a header captured above a trailer loaded from the file).
  std::optional<std::string_view> TextView(std::string_view key) const;

  // Takes every record of the key (its header line through its trailer
  // line) and any other marker line of the key out of the store; the rest
  // keeps its order. Returns the lines taken, in order, for InsertAtTop to
  // put back. A header with no trailer of its key below goes alone. Costs
  // a pass over the whole store, and TextView's views end.
  std::vector<std::string> RemoveKey(std::string_view key);
  // The same for every key `ours` accepts (given in small letters), in one
  // pass.
  std::vector<std::string> RemoveKeys(const std::function<bool(std::string_view lowerKey)>& ours);
  // The lines RemoveKeys would take, the store left as it is.
  std::vector<std::string> RecordLines(const std::function<bool(std::string_view lowerKey)>& ours) const;

  // The keys of the records, newest first, in the letter case stored.
  std::vector<std::string> RecordKeys() const;

  // Whether a record header or any trailer line carries this key (any
  // letter case).
  bool ContainsKey(std::string_view key) const;

  // The clip key at the end of a title item: the 13 characters after its
  // last header marker. Empty when the item has no marker.
  static std::string KeyOfTitle(std::string_view titleItem);

  // Whether a line is a whole header or trailer line (any letter case):
  // the marker and a key, nothing more.
  enum class Marker { None, Header, Trailer };
  static Marker MarkerOf(std::string_view line);

 private:
  using LineId = KeyIndex::LineId;

  // The key of a header or trailer line the indexes hold.
  std::string_view KeyOfLine(LineId id) const override;

  std::string_view CapturedLine(LineId id) const {
    return captured_[captured_.size() - 1 - static_cast<std::size_t>(id - frontId_)];
  }
  // The loaded lines one by one, split when first asked for (tests do; the
  // program never needs them).
  const std::vector<std::string_view>& LoadedLines() const;
  // Keeps, of these header lines (ascending line numbers), those that open
  // a record; the trailers must be indexed already. `trailers`, if given,
  // are all the trailer lines below the first header, ascending.
  void KeepRecordHeaders(std::vector<LineId>& headers, const std::vector<LineId>& trailers = {}) const;
  // The lines of the records of the keys `ours` accepts into `removed`,
  // and, when `kept` is given, every other line there, each with CR LF.
  void Partition(const std::function<bool(std::string_view lowerKey)>& ours, std::vector<std::string>& removed,
                 std::string* kept) const;
  // What a block of new lines (`size` bytes, each line with its CR LF)
  // adds to CharCount, and whether the store can take it.
  std::size_t Added(std::size_t size) const { return size - 2 + (Empty() ? 0 : 2); }
  bool Fits(std::size_t size) const { return Added(size) <= capacity_ && chars_ <= capacity_ - Added(size); }
  // The bytes of new lines (each followed by CR LF, `lengths` long), put
  // on top and indexed.
  void PutBlockOnTop(std::string bytes, const std::vector<std::size_t>& lengths);
  // The same for records, whose lines hold no CR and no LF of their own.
  void PutRecordsOnTop(std::string bytes);
  // Appends the loaded block's header and trailer lines, in file order.
  void ScanLoaded(std::vector<LineId>& headers, std::vector<LineId>& trailers) const;

  // The file's bytes in order, newest block first: each line followed by
  // CR LF. Never moved once stored, as the lines point into them.
  std::deque<std::string> blocks_;
  // The lines added at the top since the load, newest last so that adding
  // one is a push at the end.
  std::vector<std::string_view> captured_;
  std::string_view loaded_;                            // the loaded block, below every captured line
  mutable std::vector<std::string_view> loadedLines_;  // empty until LoadedLines
  LineId frontId_ = 0;                                 // the number of line 0 when it is a captured line
  std::size_t chars_ = 0;
  std::size_t capacity_ = kCapacity;
  KeyIndex headers_{*this};              // the header lines that open records
  KeyIndex trailers_{*this};             // every trailer line
  std::vector<LineId> newHeaders_;       // a capture's header lines, kept to spare an allocation
  std::vector<std::size_t> newLengths_;  // and its lines' lengths
};

}  // namespace solvane
