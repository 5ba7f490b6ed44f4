#pragma once

#include <string>

namespace solvane {

// Key labels "1".."9", "0", "A".."Z": a list line bears the label of its
// index mod 36, and the label column holds them twice, 72 rows, so that
// scrolled to the list's top index mod 36 it shows the visible lines' own.
inline constexpr int kLabelsPerPage = 36;

struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
};

class LabelColumn {
 public:
  virtual ~LabelColumn() = default;
  virtual int TopIndex() const = 0;
  // Writing the current value sends nothing.
  virtual void SetTopIndex(int index) = 0;
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // The preview tooltip of the column: its text (UTF-8), and whether it
  // shows.
  virtual void SetHint(const std::string& text) = 0;
  virtual void SetShowHint(bool show) = 0;
  // Where the column lies on the screen.
  virtual ScreenRect Bounds() const = 0;
};

}  // namespace solvane
