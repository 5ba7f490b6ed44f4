#pragma once
// The list of an open search's matches, of the same look as the title list
// and lying over it; it shows title-list lines and holds no text of its own.

#include <string>
#include <vector>

namespace solvane {

class MatchList {
 public:
  virtual ~MatchList() = default;
  // Shows these title-list lines, in this order, over the title list, with
  // row `highlight` highlighted and scrolled into view (-1: none).
  virtual void Show(const std::vector<int>& lines, int highlight) = 0;
  // Moves the highlight to `row` (-1: none), scrolling it into view.
  virtual void SetHighlight(int row) = 0;
  // Gone, and the title list seen again as it was.
  virtual void Hide() = 0;
  // The first visible row; 0 while hidden.
  virtual int TopIndex() const = 0;
};

// The line where the search text is typed, over the title picture, and its
// status beside it.
class SearchLine {
 public:
  virtual ~SearchLine() = default;
  // Shows the line, empty, with the keyboard focus in it.
  virtual void Open() = 0;
  // Hides and empties it; the keyboard focus goes back to the window.
  virtual void Close() = 0;
  // The status beside the line: `text` tells the number of matches; with
  // none it says so where the matches would stand.
  virtual void SetStatus(int matches, const std::string& text) = 0;
  // A short notice in the title area, over the title picture and the search
  // line alike ("Delete which clip?"); a click on it is reported
  // (OnNoticeClick). Hiding one that is not shown does nothing.
  virtual void ShowNotice(const std::string& text) = 0;
  virtual void HideNotice() = 0;
};

}  // namespace solvane
