#pragma once

#include <string>

#include "platform/desktop_types.h"

namespace solvane {

// Key labels "1".."9", "0", "A".."Z": a list line bears the label of its
// index mod 36, and the label column holds them twice, 72 rows, so that
// scrolled to the list's top index mod 36 it shows the visible lines' own.
inline constexpr int kLabelsPerPage = 36;

// The column of key labels beside the title list (a list box on Windows).
// Rows are numbered from 0; none of these fails.
class LabelColumn {
 public:
  virtual ~LabelColumn() = default;
  // The row at the top of the column's view.
  virtual int TopIndex() const = 0;
  // Scrolls the row to the top as far as the column allows. Writing the
  // current value sends nothing.
  virtual void SetTopIndex(int index) = 0;
  // The selected row, -1 for none.
  virtual int ItemIndex() const = 0;
  // Selects the row (-1: none); writing the current value sends nothing.
  virtual void SetItemIndex(int index) = 0;
  // A disabled column takes no mouse or keyboard input.
  virtual void SetEnabled(bool enabled) = 0;
  // The preview tooltip of the column: its text (UTF-8), and whether it
  // shows. It shows only while both are set and the text is not empty.
  virtual void SetHint(const std::string& text) = 0;
  virtual void SetShowHint(bool show) = 0;
  // Where the column lies on the screen.
  virtual Rect Bounds() const = 0;
};

}  // namespace solvane
