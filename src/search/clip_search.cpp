#include "search/clip_search.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "base/case_fold.h"

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define SOLVANE_SEARCH_SSE2 1
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

// The bytes whose lower case is `first`: where the word may start.
struct Starts {
  unsigned char bytes[4];
  int count = 0;
};

Starts StartsOf(unsigned char first, const AnsiCase& ansiCase) {
  Starts starts;
  for (int byte = 0; byte < 256 && starts.count <= 2; ++byte) {
    if (ansiCase.lower[static_cast<std::size_t>(byte)] == first) {
      if (starts.count < 2) starts.bytes[starts.count] = static_cast<unsigned char>(byte);
      ++starts.count;
    }
  }
  return starts;
}

// Whether `word` (lower case, not empty) occurs in `text`, in a code page of
// one-byte characters. The places where its first letter occurs are found
// 32 bytes at a time, which keeps the scan near the speed of memory.
bool ContainsSingleByte(std::string_view text, std::string_view word, const AnsiCase& ansiCase) {
  if (word.size() > text.size()) return false;
  const std::size_t last = text.size() - word.size();  // the last place the word can start
  const Starts starts = StartsOf(static_cast<unsigned char>(word[0]), ansiCase);
  std::size_t at = 0;
#ifdef SOLVANE_SEARCH_SSE2
  if (starts.count >= 1 && starts.count <= 2) {
    const __m128i a = _mm_set1_epi8(static_cast<char>(starts.bytes[0]));
    const __m128i b = _mm_set1_epi8(static_cast<char>(starts.bytes[starts.count - 1]));
    const char* p = text.data();
    for (; at + 32 <= text.size(); at += 32) {
      const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
      const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at + 16));
      const auto lowMask = static_cast<std::uint32_t>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(low, a), _mm_cmpeq_epi8(low, b))));
      const auto highMask = static_cast<std::uint32_t>(
          _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(high, a), _mm_cmpeq_epi8(high, b))));
      for (std::uint32_t mask = lowMask | (highMask << 16); mask != 0; mask &= mask - 1) {
        const std::size_t start = at + static_cast<std::size_t>(std::countr_zero(mask));
        if (start > last) return false;
        if (WordAt(text, start, word, ansiCase)) return true;
      }
    }
  }
#endif
  for (; at <= last; ++at) {
    if (ansiCase.lower[static_cast<unsigned char>(text[at])] == static_cast<unsigned char>(word[0]) &&
        WordAt(text, at, word, ansiCase)) {
      return true;
    }
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

bool HasLeadBytes(const AnsiCase& ansiCase) {
  return std::any_of(ansiCase.lead.begin(), ansiCase.lead.end(), [](bool lead) { return lead; });
}

}  // namespace

SearchQuery::SearchQuery(std::string_view utf8Text, CodePage& codePage) {
  const AnsiCase& ansiCase = codePage.Case();
  for (std::size_t at = 0; at < utf8Text.size();) {
    if (IsSpace(utf8Text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < utf8Text.size() && !IsSpace(utf8Text[end])) ++end;
    const std::string_view word = utf8Text.substr(at, end - at);
    Word prepared;
    if (const auto ansi = codePage.FromUtf8(word)) prepared.ansi = LowerAnsi(*ansi, ansiCase);
    for (std::size_t i = 0; i < word.size();) prepared.folded += FoldCase(DecodeUtf8(word, i));
    words_.push_back(std::move(prepared));
    at = end;
  }
}

bool SearchQuery::MatchesAnsi(std::string_view text, const AnsiCase& ansiCase) const {
  const bool doubleByte = HasLeadBytes(ansiCase);
  return std::all_of(words_.begin(), words_.end(), [&](const Word& word) {
    if (!word.ansi) return false;
    return doubleByte ? ContainsDoubleByte(text, *word.ansi, ansiCase)
                      : ContainsSingleByte(text, *word.ansi, ansiCase);
  });
}

bool SearchQuery::MatchesExact(std::string_view utf8) const {
  return std::all_of(words_.begin(), words_.end(),
                     [&](const Word& word) { return ContainsFolded(utf8, word.folded); });
}

ClipSearch::ClipSearch(const TitleList& titles, const ClipTextStore& store, const ClipTextStore& exact,
                       CodePage& codePage)
    : titles_(titles), store_(store), exact_(exact), codePage_(codePage) {}

ClipSearch::ClipText ClipSearch::TextOfLine(int line) {
  const std::string item = titles_.Get(line);
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
  clip.found = take(store_);
  if (clip.found && exact_.ContainsKey(key) && take(exact_)) clip.exact = true;
  return clip;
}

bool ClipSearch::Matches(const ClipText& clip) const {
  if (query_.Empty()) return true;
  if (!clip.found) return false;
  return clip.exact ? query_.MatchesExact(clip.text) : query_.MatchesAnsi(clip.text, codePage_.Case());
}

void ClipSearch::SearchAll() {
  texts_.clear();
  copies_.clear();
  const int count = titles_.Count();
  texts_.reserve(static_cast<std::size_t>(count));
  for (int line = 0; line < count; ++line) texts_.push_back(TextOfLine(line));
  matches_.clear();
  for (int line = 0; line < count; ++line) {
    if (Matches(texts_[static_cast<std::size_t>(line)])) matches_.push_back(line);
  }
}

void ClipSearch::Open() {
  open_ = true;
  text_.clear();
  query_ = SearchQuery();
  SearchAll();
  highlight_ = matches_.empty() ? -1 : 0;
}

void ClipSearch::Close() {
  open_ = false;
  text_.clear();
  query_ = SearchQuery();
  texts_.clear();
  texts_.shrink_to_fit();
  copies_.clear();
  matches_.clear();
  matches_.shrink_to_fit();
  highlight_ = -1;
}

void ClipSearch::SetText(std::string_view text) {
  if (!open_) return;
  // Longer by what was typed after it: every match now matched before.
  const bool narrowing = text.substr(0, text_.size()) == text_ &&
                         texts_.size() == static_cast<std::size_t>(titles_.Count());
  text_ = text;
  query_ = SearchQuery(text_, codePage_);
  if (narrowing) {
    std::erase_if(matches_, [&](int line) { return !Matches(texts_[static_cast<std::size_t>(line)]); });
  } else {
    SearchAll();
  }
  highlight_ = matches_.empty() ? -1 : 0;
}

void ClipSearch::MoveHighlight(int rows) {
  if (matches_.empty()) return;
  SetHighlight(std::clamp(highlight_ + rows, 0, static_cast<int>(matches_.size()) - 1));
}

void ClipSearch::SetHighlight(int row) {
  highlight_ = row >= 0 && row < static_cast<int>(matches_.size()) ? row : -1;
}

int ClipSearch::LineOfRow(int row) const {
  return row >= 0 && row < static_cast<int>(matches_.size()) ? matches_[static_cast<std::size_t>(row)] : -1;
}

void ClipSearch::LinesAddedAtTop(int count) {
  if (!open_ || count <= 0) return;
  std::vector<ClipText> added;
  std::vector<int> newMatches;
  for (int line = 0; line < count; ++line) {
    added.push_back(TextOfLine(line));
    if (Matches(added.back())) newMatches.push_back(line);
  }
  texts_.insert(texts_.begin(), added.begin(), added.end());
  for (int& line : matches_) line += count;
  matches_.insert(matches_.begin(), newMatches.begin(), newMatches.end());
  // The highlight stays on its clip.
  if (highlight_ >= 0) {
    highlight_ += static_cast<int>(newMatches.size());
  } else if (!matches_.empty()) {
    highlight_ = 0;
  }
}

}  // namespace solvane
