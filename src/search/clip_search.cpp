#include "search/clip_search.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "base/case_fold.h"

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define SOLVANE_SEARCH_SSE2 1
#endif
// Twice as wide where the processor has it, chosen as the program runs.
#if defined(SOLVANE_SEARCH_SSE2) && defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define SOLVANE_SEARCH_AVX2 1
#endif

namespace solvane {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// The word's bytes in lower case; a two-byte character stays as it is.
std::string LowerAnsi(std::string_view word, const AnsiCase& ansiCase) {
  std::string lower(word);
  for (std::size_t i = 0; i < lower.size(); ++i) {
    const auto byte = static_cast<unsigned char>(lower[i]);
    if (ansiCase.lead[byte]) {
      ++i;
      continue;
    }
    lower[i] = static_cast<char>(ansiCase.lower[byte]);
  }
  return lower;
}

// Whether `word` (in lower case) starts at text[at]: compared byte by byte
// through the code page's case, a two-byte character exactly.
bool WordAt(std::string_view text, std::size_t at, std::string_view word, const AnsiCase& ansiCase) {
  for (std::size_t k = 0; k < word.size(); ++k) {
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (ansiCase.lead[byte]) {
      if (k + 1 >= word.size() || text[at + k] != word[k] || text[at + k + 1] != word[k + 1]) return false;
      ++k;
      continue;
    }
    if (ansiCase.lower[byte] != static_cast<unsigned char>(word[k])) return false;
  }
  return true;
}

// In a code page of two-byte characters a word may start only where a
// character does: the text is walked character by character.
bool ContainsDoubleByte(std::string_view text, std::string_view word, const AnsiCase& ansiCase) {
  for (std::size_t at = 0; at + word.size() <= text.size();
       at += ansiCase.lead[static_cast<unsigned char>(text[at])] ? 2 : 1) {
    if (WordAt(text, at, word, ansiCase)) return true;
  }
  return false;
}

// The places where a word may start in an ANSI text of a one-byte code
// page: its first letter, in either case. Found 64 bytes at a time, which
// keeps a search near the speed at which memory can be read.
class StartFinder {
 public:
  StartFinder(const unsigned char (&starts)[2], int count, unsigned char first, const AnsiCase& ansiCase)
      : ansiCase_(ansiCase), first_(first), vector_(count >= 1 && count <= 2) {
#ifdef SOLVANE_SEARCH_SSE2
    // Two starts that differ in the case bit alone (a letter and its
    // capital) are one comparison with that bit set; otherwise one each.
    const bool caseBit = count == 2 && (starts[0] ^ starts[1]) == 0x20;
    bitByte_ = static_cast<char>(caseBit ? 0x20 : 0);
    aByte_ = static_cast<char>(caseBit ? starts[0] | 0x20 : starts[0]);
    bByte_ = static_cast<char>(count >= 1 ? starts[count - 1] : 0);
    bit_ = _mm_set1_epi8(bitByte_);
    a_ = _mm_set1_epi8(aByte_);
    b_ = _mm_set1_epi8(bByte_);
    one_ = caseBit || count == 1;
#else
    (void)starts;
#endif
  }

  // The first place at or after `from` where the word may start; the
  // text's size when there is none.
  std::size_t Next(std::string_view text, std::size_t from) const {
    const std::size_t size = text.size();
#ifdef SOLVANE_SEARCH_AVX2
    static const bool kAvx2 = __builtin_cpu_supports("avx2");
    if (vector_ && kAvx2 && size >= 32) return NextAvx2(text.data(), size, from);
#endif
#ifdef SOLVANE_SEARCH_SSE2
    if (vector_ && size >= 16) {
      const char* p = text.data();
      for (; from + 64 <= size; from += 64) {
        const __m128i e0 = Equal(p + from), e1 = Equal(p + from + 16), e2 = Equal(p + from + 32),
                      e3 = Equal(p + from + 48);
        // Most blocks hold no start at all: one test for all 64 bytes.
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(e0, e1), _mm_or_si128(e2, e3))) == 0) continue;
        const std::uint64_t mask = Mask(e0) | Mask(e1) << 16 | Mask(e2) << 32 | Mask(e3) << 48;
        return from + static_cast<std::size_t>(std::countr_zero(mask));
      }
      // The rest 16 bytes at a time, the last 16 once more for what is left.
      while (from < size) {
        const std::size_t at = std::min(from, size - 16);
        const std::uint64_t mask = Mask(Equal(p + at)) & ~((std::uint64_t{1} << (from - at)) - 1);
        if (mask != 0) return at + static_cast<std::size_t>(std::countr_zero(mask));
        from = at + 16;
      }
      return size;
    }
#endif
    for (; from < size; ++from) {
      if (ansiCase_.lower[static_cast<unsigned char>(text[from])] == first_) return from;
    }
    return size;
  }

 private:
#ifdef SOLVANE_SEARCH_SSE2
  __m128i Equal(const char* at) const {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i first = _mm_cmpeq_epi8(_mm_or_si128(v, bit_), a_);
    return one_ ? first : _mm_or_si128(first, _mm_cmpeq_epi8(v, b_));
  }
  static std::uint64_t Mask(__m128i equal) { return static_cast<std::uint32_t>(_mm_movemask_epi8(equal)); }
  __m128i bit_, a_, b_;
  char bitByte_ = 0, aByte_ = 0, bByte_ = 0;
  bool one_ = false;
#endif
#ifdef SOLVANE_SEARCH_AVX2
  // As the 16-byte scan, 32 bytes at a time; the text is 32 bytes or more.
  __attribute__((target("avx2"))) std::size_t NextAvx2(const char* p, std::size_t size, std::size_t from) const {
    const __m256i bit = _mm256_set1_epi8(bitByte_), a = _mm256_set1_epi8(aByte_), b = _mm256_set1_epi8(bByte_);
    const auto equal = [&](const char* at) __attribute__((target("avx2"))) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
      const __m256i first = _mm256_cmpeq_epi8(_mm256_or_si256(v, bit), a);
      return one_ ? first : _mm256_or_si256(first, _mm256_cmpeq_epi8(v, b));
    };
    const auto mask = [](__m256i equal) __attribute__((target("avx2"))) {
      return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(equal)));
    };
    for (; from + 64 <= size; from += 64) {
      const __m256i e0 = equal(p + from), e1 = equal(p + from + 32);
      if (_mm256_testz_si256(_mm256_or_si256(e0, e1), _mm256_or_si256(e0, e1))) continue;
      return from + static_cast<std::size_t>(std::countr_zero(mask(e0) | mask(e1) << 32));
    }
    while (from < size) {
      const std::size_t at = std::min(from, size - 32);
      const std::uint64_t bits = mask(equal(p + at)) & ~((std::uint64_t{1} << (from - at)) - 1);
      if (bits != 0) return at + static_cast<std::size_t>(std::countr_zero(bits));
      from = at + 32;
    }
    return size;
  }
#endif
  const AnsiCase& ansiCase_;
  unsigned char first_;
  bool vector_;
};

// Whether `word` (lower case, not empty) occurs in `text`, in a code page of
// one-byte characters.
bool ContainsSingleByte(std::string_view text, std::string_view word, const StartFinder& starts,
                        const AnsiCase& ansiCase) {
  for (std::size_t at = starts.Next(text, 0); at + word.size() <= text.size(); at = starts.Next(text, at + 1)) {
    if (WordAt(text, at, word, ansiCase)) return true;
  }
  return false;
}

// The folded character at text[at], `at` moved past it.
char32_t FoldedAt(std::string_view text, std::size_t& at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x80) {
    ++at;
    return byte >= 'A' && byte <= 'Z' ? byte + 32 : byte;
  }
  return FoldCase(DecodeUtf8(text, at));
}

// Whether the folded `word` (not empty) occurs in UTF-8 `text`, character
// for character after folding both.
bool ContainsFolded(std::string_view text, const std::u32string& word) {
  for (std::size_t start = 0; start < text.size();) {
    std::size_t at = start;
    if (FoldedAt(text, at) == word[0]) {
      std::size_t next = at;
      std::size_t k = 1;
      while (k < word.size() && next < text.size() && FoldedAt(text, next) == word[k]) ++k;
      if (k == word.size()) return true;
    }
    start = at;
  }
  return false;
}

}  // namespace

SearchQuery::SearchQuery(std::string_view utf8Text, CodePage& codePage) {
  const AnsiCase& ansiCase = codePage.Case();
  doubleByte_ = std::any_of(ansiCase.lead.begin(), ansiCase.lead.end(), [](bool lead) { return lead; });
  for (std::size_t at = 0; at < utf8Text.size();) {
    if (IsSpace(utf8Text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < utf8Text.size() && !IsSpace(utf8Text[end])) ++end;
    const std::string_view word = utf8Text.substr(at, end - at);
    Word prepared;
    if (const auto ansi = codePage.FromUtf8(word)) {
      prepared.ansi = LowerAnsi(*ansi, ansiCase);
      for (int byte = 0; byte < 256 && !prepared.ansi->empty(); ++byte) {
        if (ansiCase.lower[static_cast<std::size_t>(byte)] != static_cast<unsigned char>((*prepared.ansi)[0])) continue;
        if (prepared.startCount < 2) prepared.starts[prepared.startCount] = static_cast<unsigned char>(byte);
        ++prepared.startCount;
      }
    }
    for (std::size_t i = 0; i < word.size();) prepared.folded += FoldCase(DecodeUtf8(word, i));
    words_.push_back(std::move(prepared));
    at = end;
  }
}

bool SearchQuery::MatchesAnsi(std::string_view text, const AnsiCase& ansiCase) const {
  for (const Word& word : words_) {
    if (!word.ansi) return false;
    if (!(doubleByte_ ? ContainsDoubleByte(text, *word.ansi, ansiCase) : ContainsAnsi(text, word, ansiCase))) {
      return false;
    }
  }
  return true;
}

bool SearchQuery::ContainsAnsi(std::string_view text, const Word& word, const AnsiCase& ansiCase) {
  const StartFinder starts(word.starts, word.startCount, static_cast<unsigned char>((*word.ansi)[0]), ansiCase);
  return ContainsSingleByte(text, *word.ansi, starts, ansiCase);
}

void SearchQuery::MatchAnsiRun(std::span<const std::string_view> texts, const AnsiCase& ansiCase,
                               std::vector<int>& found) const {
  if (texts.empty()) return;
  const Word& first = words_.front();
  const std::string_view word = *first.ansi;
  const StartFinder starts(first.starts, first.startCount, static_cast<unsigned char>(word[0]), ansiCase);
  // One scan over the run, gaps (the marker lines) and all; a start in a
  // gap, or a word that would run out of its text, does not count.
  const char* base = texts.front().data();
  const std::string_view span(base, static_cast<std::size_t>(texts.back().data() + texts.back().size() - base));
  const auto begin = [&](std::size_t clip) { return static_cast<std::size_t>(texts[clip].data() - base); };
  std::size_t clip = 0;
  for (std::size_t at = starts.Next(span, 0); at < span.size();) {
    while (clip < texts.size() && begin(clip) + texts[clip].size() <= at) ++clip;
    if (clip == texts.size()) break;
    if (at < begin(clip)) {
      at = starts.Next(span, begin(clip));
      continue;
    }
    const std::string_view text = texts[clip];
    const std::size_t local = at - begin(clip);
    if (local + word.size() > text.size() || !WordAt(text, local, word, ansiCase)) {
      at = starts.Next(span, at + 1);
      continue;
    }
    // The first word is there: the others are looked for in this text alone.
    const bool all = std::all_of(words_.begin() + 1, words_.end(),
                                 [&](const Word& other) { return other.ansi && ContainsAnsi(text, other, ansiCase); });
    if (all) found.push_back(static_cast<int>(clip));
    if (++clip == texts.size()) break;
    at = starts.Next(span, begin(clip));
  }
}

bool SearchQuery::MatchesExact(std::string_view utf8) const {
  return std::all_of(words_.begin(), words_.end(), [&](const Word& word) { return ContainsFolded(utf8, word.folded); });
}

ClipSearch::ClipSearch(const TitleList& titles, const ClipTextStore& store, const ClipTextStore& exact,
                       CodePage& codePage)
    : titles_(titles), store_(store), exact_(exact), codePage_(codePage) {}

namespace {

// Lines apart by no more than this (the trailer and header lines between
// two records) are searched as one run.
constexpr std::ptrdiff_t kRunGap = 64;

}  // namespace

ClipSearch::ClipText ClipSearch::TextOfLine(int line) { return TextOfItem(titles_.Get(line)); }

ClipSearch::ClipText ClipSearch::TextOfItem(std::string_view item) {
  const std::string key = ClipTextStore::KeyOfTitle(item);
  ClipText clip;
  // The text a paste of the line would give: none without a record of its
  // own, and the exact one only beside such a record.
  const auto take = [&](const ClipTextStore& from) -> bool {
    if (const auto view = from.TextView(key)) {
      clip.text = *view;
      return true;
    }
    const auto copy = from.Lookup(item);
    if (!copy) return false;
    clip.text = copies_.emplace_back(std::move(*copy));
    return true;
  };
  if (!take(store_)) return clip;
  clip.kind = exact_.ContainsKey(key) && take(exact_) ? Kind::Exact : Kind::Ansi;
  return clip;
}

bool ClipSearch::Matches(std::size_t line) const {
  if (query_.Empty()) return true;
  const std::string_view text = views_[line];
  switch (kinds_[line]) {
    case Kind::None:
      return false;
    case Kind::Exact:
      return query_.MatchesExact(text);
    case Kind::Ansi:
      break;
  }
  return query_.MatchesAnsi(text, codePage_.Case());
}

bool ClipSearch::StartsRun(std::size_t line) const { return kinds_[line] == Kind::Ansi && !views_[line].empty(); }

bool ClipSearch::FollowsInMemory(std::size_t line) const {
  if (!StartsRun(line)) return false;
  const char* before = views_[line - 1].data() + views_[line - 1].size();
  const std::ptrdiff_t gap = views_[line].data() - before;
  return gap >= 0 && gap <= kRunGap;
}

void ClipSearch::TakeTexts() {
  views_.clear();
  kinds_.clear();
  copies_.clear();
  const int count = titles_.Count();
  views_.reserve(static_cast<std::size_t>(count));
  kinds_.reserve(static_cast<std::size_t>(count));
  // The lines read a chunk at a time as the title file would hold them,
  // which asks the list far less than a line at a time.
  constexpr int kChunk = 512;
  std::string chunk;
  for (int first = 0; first < count; first += kChunk) {
    const int lines = std::min(kChunk, count - first);
    chunk.clear();
    titles_.AppendFileLines(chunk, first, lines);
    std::string_view rest = chunk;
    for (int i = 0; i < lines; ++i) {
      const std::size_t end = rest.find("\r\n");
      const ClipText clip = TextOfItem(rest.substr(0, end));
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
      views_.push_back(clip.text);
      kinds_.push_back(clip.kind);
    }
  }
}

void ClipSearch::SearchAll() {
  // Taken anew only when the list changed in a way the search was not told.
  if (views_.size() != static_cast<std::size_t>(titles_.Count())) TakeTexts();
  matches_.clear();
  if (!query_.ScansRuns()) {
    for (std::size_t line = 0; line < views_.size(); ++line) {
      if (Matches(line)) matches_.push_back(static_cast<int>(line));
    }
    return;
  }
  // The loaded clips' texts lie one after another in the store, in the
  // list's order until pastes move titles: each such run is one scan.
  const AnsiCase& ansiCase = codePage_.Case();
  for (std::size_t line = 0; line < views_.size();) {
    if (!StartsRun(line)) {
      if (Matches(line)) matches_.push_back(static_cast<int>(line));
      ++line;
      continue;
    }
    std::size_t end = line + 1;
    while (end < views_.size() && FollowsInMemory(end)) ++end;
    runMatches_.clear();
    query_.MatchAnsiRun(std::span(views_).subspan(line, end - line), ansiCase, runMatches_);
    for (const int match : runMatches_) matches_.push_back(static_cast<int>(line) + match);
    line = end;
  }
}

void ClipSearch::Open() {
  open_ = true;
  text_.clear();
  query_ = SearchQuery();
  TakeTexts();
  SearchAll();
  highlight_ = matches_.empty() ? -1 : 0;
}

void ClipSearch::Refresh() {
  if (!open_) return;
  const int row = highlight_;
  TakeTexts();
  SearchAll();
  highlight_ = matches_.empty() ? -1 : std::clamp(row, 0, static_cast<int>(matches_.size()) - 1);
}

void ClipSearch::Close() {
  open_ = false;
  text_.clear();
  query_ = SearchQuery();
  views_.clear();
  views_.shrink_to_fit();
  kinds_.clear();
  kinds_.shrink_to_fit();
  runMatches_.clear();
  runMatches_.shrink_to_fit();
  copies_.clear();
  matches_.clear();
  matches_.shrink_to_fit();
  highlight_ = -1;
}

void ClipSearch::SetText(std::string_view text) {
  if (!open_) return;
  // Longer by what was typed after it: every match now matched before.
  const bool narrowing =
      text.substr(0, text_.size()) == text_ && views_.size() == static_cast<std::size_t>(titles_.Count());
  text_ = text;
  query_ = SearchQuery(text_, codePage_);
  if (narrowing) {
    std::erase_if(matches_, [&](int line) { return !Matches(static_cast<std::size_t>(line)); });
  } else {
    SearchAll();
  }
  highlight_ = matches_.empty() ? -1 : 0;
}

void ClipSearch::MoveHighlight(int rows) {
  if (matches_.empty()) return;
  SetHighlight(std::clamp(highlight_ + rows, 0, static_cast<int>(matches_.size()) - 1));
}

void ClipSearch::SetHighlight(int row) { highlight_ = row >= 0 && row < static_cast<int>(matches_.size()) ? row : -1; }

int ClipSearch::LineOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(matches_.size()) ? matches_[static_cast<std::size_t>(row)] : -1;
}

std::size_t ClipSearch::MemoryUse() const {
  std::size_t bytes = views_.capacity() * sizeof(std::string_view) + kinds_.capacity() * sizeof(Kind) +
                      (matches_.capacity() + runMatches_.capacity()) * sizeof(int) + text_.capacity();
  for (const std::string& copy : copies_) bytes += sizeof copy + copy.capacity();
  return bytes;
}

void ClipSearch::LinesAddedAtTop(int count) {
  if (!open_ || count <= 0) return;
  std::vector<std::string_view> views;
  std::vector<Kind> kinds;
  for (int line = 0; line < count; ++line) {
    const ClipText clip = TextOfLine(line);
    views.push_back(clip.text);
    kinds.push_back(clip.kind);
  }
  views_.insert(views_.begin(), views.begin(), views.end());
  kinds_.insert(kinds_.begin(), kinds.begin(), kinds.end());
  std::vector<int> added;
  for (int line = 0; line < count; ++line) {
    if (Matches(static_cast<std::size_t>(line))) added.push_back(line);
  }
  for (int& line : matches_) line += count;
  matches_.insert(matches_.begin(), added.begin(), added.end());
  // The highlight stays on its clip.
  if (highlight_ >= 0) {
    highlight_ += static_cast<int>(added.size());
  } else if (!matches_.empty()) {
    highlight_ = 0;
  }
}

}  // namespace solvane
