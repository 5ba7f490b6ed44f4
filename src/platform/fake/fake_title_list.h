#pragma once
// The clip list in memory, with the same rules as the real control: check
// states travel with their lines, the sideways extent grows with wide lines
// and is recomputed when the widest goes.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/list_extent.h"
#include "platform/desktop_types.h"
#include "platform/title_list.h"

namespace solvane::fake {

class FakeTitleList : public TitleList {
 public:
  explicit FakeTitleList(TextMetrics& font) : extentRule_(font) {}

  int Count() const override { return static_cast<int>(lines_.size()); }
  std::string Get(int index) const override;
  using TitleList::AppendFileLines;
  void AppendFileLines(std::string& out, int first, int count) const override;
  void Add(const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  void Assign(const std::vector<std::string_view>& lines) override;
  void BeginUpdate() override { ++updateDepth; }
  void EndUpdate() override { --updateDepth; }
  int ItemIndex() const override { return itemIndex_; }
  void SetItemIndex(int index) override;
  int TopIndex() const override { return topIndex_; }
  void SetTopIndex(int index) override;
  // Lines of 13 pixels from the top of `screenBounds` (empty: off screen).
  int LineAtScreenPoint(int screenX, int screenY) const override;
  void SetMarkedKeys(std::function<bool(std::string_view key)> marked) override { marked_ = std::move(marked); }
  void RedrawMarks() override { ++markRedraws; }
  // Whether line `index` bears the mark.
  bool Marked(int index) const;
  int HorizontalExtent() const override { return extent_; }
  void SetHorizontalExtent(int extent) override { extent_ = extent; }
  void SetEnabled(bool on) override { enabled = on; }
  void SetExactLine(int index, std::string_view utf8Line) override;
  std::string ExactLine(int index) const override;
  int State(int index) const override;
  void SetState(int index, int state) override;

  Rect screenBounds;
  int markRedraws = 0;
  // Lines the list refuses from now on (the platform list ran out of room).
  int refuseAfter = -1;
  bool enabled = true;
  int selectionWrites = 0;  // messages that a write of ItemIndex sent
  int topIndexWrites = 0;
  int updateDepth = 0;      // BeginUpdate calls not yet ended
  int changesInUpdate = 0;  // inserts and deletes made inside one

 private:
  struct Line {
    std::string text;
    int state = kUnchecked;
    std::string exact;  // the shown line when the ANSI line cannot hold it
  };
  void CheckIndex(int index) const;

  std::function<bool(std::string_view key)> marked_;
  ListExtent extentRule_;
  std::deque<Line> lines_;  // a capture inserts at the front
  int itemIndex_ = -1;
  int topIndex_ = 0;
  int extent_ = 0;
};

}  // namespace solvane::fake
