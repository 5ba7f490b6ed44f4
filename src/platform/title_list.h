#pragma once
// The clip window's list of title lines (a check-list box on Windows).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane {

inline constexpr int kUnchecked = 0, kChecked = 1, kGrayed = 2;

class TitleList {
 public:
  virtual ~TitleList() = default;
  // Lines, the newest first.
  virtual int Count() const = 0;
  // Throws AppError "List index out of bounds (%d)" for a bad index.
  virtual std::string Get(int index) const = 0;
  // Appends lines first .. first + count - 1, each followed by CR LF (the
  // title file's bytes), to `out`; the range lies inside the list.
  virtual void AppendFileLines(std::string& out, int first, int count) const = 0;
  // Every line so.
  void AppendFileLines(std::string& out) const { AppendFileLines(out, 0, Count()); }
  // Appends an unchecked line. Throws AppError "Unable to insert a line"
  // when the list refuses it; the list is unchanged then.
  virtual void Add(const std::string& text) = 0;
  // Inserts an unchecked line before line `index`; fails as Add does.
  virtual void Insert(int index, const std::string& text) = 0;
  // Throws AppError "List index out of bounds (%d)" for a bad index.
  virtual void Delete(int index) = 0;
  // Every line goes; never fails.
  virtual void Clear() = 0;
  // Replaces all lines (loading a file): Clear, then Add for each line.
  virtual void Assign(const std::vector<std::string_view>& lines) {
    Clear();
    for (const std::string_view line : lines) Add(std::string(line));
  }

  // The line as shown, in UTF-8, for a clip whose text the ANSI code page
  // cannot hold: its exact title, then the same padding and key. It travels
  // with its line, and Get still gives the line as the title file keeps it.
  // Empty for every other line, which shows what Get gives. Both throw as
  // Get for a bad index.
  virtual void SetExactLine(int index, std::string_view utf8Line) = 0;
  virtual std::string ExactLine(int index) const = 0;

  // Between these, changes are made without showing each one; EndUpdate
  // shows the result once. Pairs may nest.
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

  // The selected line; -1 when nothing is selected. Writing the current
  // value does nothing; writing never raises a click; -1 selects nothing.
  virtual int ItemIndex() const = 0;
  virtual void SetItemIndex(int index) = 0;
  // The line at the top of the view; scrolling to a line scrolls as far as
  // the list allows.
  virtual int TopIndex() const = 0;
  virtual void SetTopIndex(int index) = 0;
  // The line shown under a point of the screen (the pointer's, say); -1
  // when the point is on no line of the visible list.
  virtual int LineAtScreenPoint(int screenX, int screenY) const = 0;
  // Lines whose clip key `marked` accepts (any letter case) bear a mark at
  // their right end; RedrawMarks shows a change of what it accepts.
  virtual void SetMarkedKeys(std::function<bool(std::string_view key)> marked) = 0;
  virtual void RedrawMarks() = 0;

  // The sideways scroll width; the list widens it as lines are added and the
  // program sets it back to 0 to keep each title's key out of view.
  virtual int HorizontalExtent() const = 0;
  virtual void SetHorizontalExtent(int extent) = 0;

  // A disabled list takes no mouse or keyboard input.
  virtual void SetEnabled(bool enabled) = 0;

  // The check state carried with each line (kUnchecked, kChecked or
  // kGrayed); the clip logic never reads it. Throws AppError "List index out
  // of bounds (%d)" for a bad index.
  virtual int State(int index) const = 0;
  virtual void SetState(int index, int state) = 0;

  bool Checked(int index) const { return State(index) == kChecked; }
  void SetChecked(int index, bool checked) { SetState(index, checked ? kChecked : kUnchecked); }
  // A click in the check column or the space key: checked becomes
  // unchecked, anything else checked. Every line of this list is enabled.
  void Toggle(int index) { SetState(index, State(index) == kChecked ? kUnchecked : kChecked); }
  // The "+" and "-" keys.
  void SetAllChecked(bool checked) {
    for (int i = 0, n = Count(); i < n; ++i) SetChecked(i, checked);
  }
};

// BeginUpdate for the length of a scope, EndUpdate however it is left.
class ListUpdate {
 public:
  explicit ListUpdate(TitleList& list) : list_(list) { list_.BeginUpdate(); }
  ~ListUpdate() { list_.EndUpdate(); }
  ListUpdate(const ListUpdate&) = delete;
  ListUpdate& operator=(const ListUpdate&) = delete;

 private:
  TitleList& list_;
};

}  // namespace solvane
