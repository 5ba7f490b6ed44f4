#include "platform/fake/fake_title_list.h"

#include <algorithm>

#include "base/app_error.h"

namespace solvane::fake {

void FakeTitleList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw AppError(ListIndexOutOfBoundsMessage(index));
}

std::string FakeTitleList::Get(int index) const {
  CheckIndex(index);
  return lines_[static_cast<std::size_t>(index)].text;
}

void FakeTitleList::AppendFileLines(std::string& out, int first, int count) const {
  for (int i = first; i < first + count; ++i) {
    out += lines_[static_cast<std::size_t>(i)].text;
    out += "\r\n";
  }
}

void FakeTitleList::Add(const std::string& text) { Insert(Count(), text); }

void FakeTitleList::Insert(int index, const std::string& text) {
  if (index < 0 || index > Count() || (refuseAfter >= 0 && Count() >= refuseAfter)) {
    throw AppError(kUnableToInsertLine);
  }
  lines_.insert(lines_.begin() + index, Line{text, kUnchecked, {}});
  if (updateDepth > 0) ++changesInUpdate;
  if (itemIndex_ >= index) ++itemIndex_;
  extent_ = extentRule_.Grown(extent_, text);
}

void FakeTitleList::Delete(int index) {
  CheckIndex(index);
  const bool widest = extentRule_.IsWidest(extent_, lines_[static_cast<std::size_t>(index)].text);
  lines_.erase(lines_.begin() + index);
  if (updateDepth > 0) ++changesInUpdate;
  if (itemIndex_ == index) {
    itemIndex_ = -1;
  } else if (itemIndex_ > index) {
    --itemIndex_;
  }
  topIndex_ = std::min(topIndex_, std::max(0, Count() - 1));
  if (widest) {
    extent_ = 0;
    for (const auto& line : lines_) extent_ = extentRule_.Grown(extent_, line.text);
  }
}

void FakeTitleList::Clear() {
  lines_.clear();
  itemIndex_ = -1;
  topIndex_ = 0;
  extent_ = 0;
}

void FakeTitleList::Assign(const std::vector<std::string_view>& lines) {
  Clear();
  for (const std::string_view text : lines) {
    if (refuseAfter >= 0 && Count() >= refuseAfter) throw AppError(kUnableToInsertLine);
    extent_ = extentRule_.Grown(extent_, text);
    lines_.push_back(Line{std::string(text), kUnchecked, {}});
  }
}

void FakeTitleList::SetItemIndex(int index) {
  if (index == itemIndex_) return;
  ++selectionWrites;
  itemIndex_ = (index >= 0 && index < Count()) ? index : -1;
}

void FakeTitleList::SetTopIndex(int index) {
  if (index == topIndex_) return;
  ++topIndexWrites;
  topIndex_ = std::clamp(index, 0, std::max(0, Count() - 1));
}

bool FakeTitleList::Marked(int index) const {
  const std::string item = Get(index);
  const std::size_t marker = item.rfind("/:hdr:\\");
  return marked_ && marker != std::string::npos && marked_(std::string_view(item).substr(marker + 7));
}

int FakeTitleList::LineAtScreenPoint(int screenX, int screenY) const {
  const Rect& r = screenBounds;
  if (screenX < r.left || screenX >= r.right || screenY < r.top || screenY >= r.bottom) return -1;
  const int line = topIndex_ + (screenY - r.top) / 13;
  return line < Count() ? line : -1;
}

void FakeTitleList::SetExactLine(int index, std::string_view utf8Line) {
  CheckIndex(index);
  lines_[static_cast<std::size_t>(index)].exact = std::string(utf8Line);
}

std::string FakeTitleList::ExactLine(int index) const {
  CheckIndex(index);
  return lines_[static_cast<std::size_t>(index)].exact;
}

int FakeTitleList::State(int index) const {
  CheckIndex(index);
  return lines_[static_cast<std::size_t>(index)].state;
}

void FakeTitleList::SetState(int index, int state) {
  CheckIndex(index);
  lines_[static_cast<std::size_t>(index)].state = state;
}

}  // namespace solvane::fake
