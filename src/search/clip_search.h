#pragma once
// Search of the whole history: a clip matches when every word of the search
// text occurs somewhere in its text, in any order, without regard to case.
// An exact text (the clips the ANSI code page cannot hold) is searched in
// its own characters, with Unicode's simple case folding; every other clip
// in the code page's bytes, with the code page's letter case.

#include <deque>
#include <optional>
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

 private:
  struct Word {
    // In the code page, in lower case; none when the code page cannot hold
    // the word, which then occurs in no ANSI text.
    std::optional<std::string> ansi;
    std::u32string folded;  // every character case-folded
  };
  std::vector<Word> words_;
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

 private:
  // A line's text as the stores hold it: the exact one when the clip has
  // one, a view of the store's bytes.
  struct ClipText {
    std::string_view text;
    bool exact = false;
    bool found = false;  // the line has a clip in the store
  };
  ClipText TextOfLine(int line);
  bool Matches(const ClipText& clip) const;
  // Every line's text taken anew, and every clip searched.
  void SearchAll();

  const TitleList& titles_;
  const ClipTextStore& store_;
  const ClipTextStore& exact_;
  CodePage& codePage_;
  bool open_ = false;
  std::string text_;
  SearchQuery query_;
  std::vector<ClipText> texts_;  // one per title-list line, in list order
  // Where a record's lines do not lie side by side its text is copied once,
  // here, where it never moves.
  std::deque<std::string> copies_;
  std::vector<int> matches_;
  int highlight_ = -1;
};

}  // namespace solvane
