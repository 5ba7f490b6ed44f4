#pragma once
// The search line and the match list, as state a test reads.

#include <string>
#include <vector>

#include "platform/match_list.h"

namespace solvane::fake {

class FakeMatchList : public MatchList {
 public:
  void Show(const std::vector<int>& shownLines, int row) override {
    shown = true;
    lines = shownLines;
    highlight = row;
    top = 0;
  }
  void SetHighlight(int row) override { highlight = row; }
  void Hide() override {
    shown = false;
    lines.clear();
    highlight = -1;
    top = 0;
  }
  int TopIndex() const override { return top; }

  bool shown = false;
  std::vector<int> lines;
  int highlight = -1;
  int top = 0;
};

class FakeSearchLine : public SearchLine {
 public:
  void Open() override {
    open = true;
    status.clear();
  }
  void Close() override {
    open = false;
    status.clear();
  }
  void SetStatus(int count, const std::string& text) override {
    matches = count;
    status = text;
  }
  void ShowNotice(const std::string& text) override { notice = text; }
  void HideNotice() override { notice.clear(); }

  bool open = false;
  int matches = 0;
  std::string status;
  std::string notice;  // empty while none is shown
};

}  // namespace solvane::fake
