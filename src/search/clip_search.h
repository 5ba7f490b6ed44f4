#pragma once
// Search of the whole history: a clip matches when every word of the search
// text occurs somewhere in its text, in any order, without regard to case.
// An exact text (the clips the ANSI code page cannot hold) is searched in
// its own characters, with Unicode's simple case folding; every other clip
// in the code page's bytes, with the code page's letter case.

#include <deque>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/clip_text_store.h"
#include "platform/code_page.h"
#include "platform/title_list.h"

namespace solvane {

// The words of a search text, ready for both kinds of clip text.
class SearchQuery {
 public:
  // No words: every clip matches.
  SearchQuery() = default;
  // The text split at spaces; `codePage` gives each word's ANSI form.
  SearchQuery(std::string_view utf8Text, CodePage& codePage);

  bool Empty() const { return words_.empty(); }
  // Whether every word occurs in an ANSI text (the code page's bytes).
  bool MatchesAnsi(std::string_view text, const AnsiCase& ansiCase) const;
  // Whether every word occurs in an exact text (UTF-8).
  bool MatchesExact(std::string_view utf8) const;

  // Whether MatchAnsiRun may be used: words, in a code page of one-byte
  // characters, the first of which it can hold.
  bool ScansRuns() const { return !words_.empty() && !doubleByte_ && words_.front().ansi.has_value(); }
  // Of ANSI texts that lie one after another in memory (each a few bytes
  // after the one before), those that hold every word: their places in
  // `texts`, ascending, added to `found`. One scan reads the whole run.
  void MatchAnsiRun(std::span<const std::string_view> texts, const AnsiCase& ansiCase, std::vector<int>& found) const;

 private:
  struct Word {
    // In the code page, in lower case; none when the code page cannot hold
    // the word, which then occurs in no ANSI text.
    std::optional<std::string> ansi;
    // The bytes the word may start with in an ANSI text (its first letter in
    // either case); more than two: any byte is looked at.
    unsigned char starts[2] = {0, 0};
    int startCount = 0;
    std::u32string folded;  // every character case-folded
  };
  static bool ContainsAnsi(std::string_view text, const Word& word, const AnsiCase& ansiCase);

  std::vector<Word> words_;
  bool doubleByte_ = false;  // the code page has two-byte characters
};

// An open search over the clips of the title list. When it opens it takes a
// view of each line's text in the stores, and it keeps them as lines come
// on top; a keystroke then only reads those bytes, and one that lengthens
// the text reads only the clips that matched before.
class ClipSearch {
 public:
  ClipSearch(const TitleList& titles, const ClipTextStore& store, const ClipTextStore& exact, CodePage& codePage);

  // Opens with an empty text: every clip matches, the first highlighted.
  void Open();
  void Close();
  bool open() const { return open_; }

  // The search text (UTF-8) is now `text`.
  void SetText(std::string_view text);
  const std::string& text() const { return text_; }
  // The title-list lines that match, newest (top) first.
  const std::vector<int>& matches() const { return matches_; }

  // The highlighted row of the matches; -1 when there is none.
  int highlight() const { return highlight_; }
  // Moves the highlight by `rows`, staying on the matches.
  void MoveHighlight(int rows);
  void SetHighlight(int row);
  // The title-list line of a row of the matches; -1 for no such row.
  int LineOfRow(int row) const;

  // `count` lines came on top of the title list (a capture): the lines
  // below moved down, and the new ones join the matches when they match.
  void LinesAddedAtTop(int count);

  // The list and the stores changed in a way the views cannot follow (a
  // clip removed or put back): every text is taken anew and the whole
  // history searched again; the highlight keeps its row as far as the
  // matches reach.
  void Refresh();

  // The memory the open search holds, in bytes: its views of the texts,
  // the matches and any copied text.
  std::size_t MemoryUse() const;

 private:
  // What a line's text is: none (no record of its clip in the store), its
  // ANSI text, or its exact text.
  enum class Kind : unsigned char { None, Ansi, Exact };
  struct ClipText {
    std::string_view text;
    Kind kind = Kind::None;
  };
  // A line's text as the stores hold it: the exact one when the clip has
  // one, a view of the store's bytes.
  ClipText TextOfLine(int line);
  ClipText TextOfItem(std::string_view item);
  bool Matches(std::size_t line) const;
  // Whether a line's text can be part of a run scanned at once, and whether
  // it lies right after the text of the line before.
  bool StartsRun(std::size_t line) const;
  bool FollowsInMemory(std::size_t line) const;
  // Every line's text taken anew.
  void TakeTexts();
  // Every clip searched.
  void SearchAll();

  const TitleList& titles_;
  const ClipTextStore& store_;
  const ClipTextStore& exact_;
  CodePage& codePage_;
  bool open_ = false;
  std::string text_;
  SearchQuery query_;
  std::vector<std::string_view> views_;  // each title-list line's text, in list order
  std::vector<Kind> kinds_;              // and what it is
  std::vector<int> runMatches_;          // one run's matches, kept to spare an allocation
  // Where a record's lines do not lie side by side its text is copied once,
  // here, where it never moves.
  std::deque<std::string> copies_;
  std::vector<int> matches_;
  int highlight_ = -1;
};

}  // namespace solvane
