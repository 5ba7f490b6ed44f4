#pragma once
#include <string>

#include "platform/label_column.h"

namespace solvane::fake {

// The label column as its scroll place, selection and hint.
class FakeLabelColumn : public LabelColumn {
 public:
  int TopIndex() const override { return top; }
  void SetTopIndex(int index) override {
    if (index == top) return;
    top = index;
    ++topWrites;
  }
  int ItemIndex() const override { return item; }
  void SetItemIndex(int index) override { item = index; }
  void SetEnabled(bool on) override { enabled = on; }
  void SetHint(const std::string& text) override { hint = text; }
  void SetShowHint(bool show) override { showHint = show; }
  Rect Bounds() const override { return bounds; }
  Rect bounds{110, 70, 110 + 15, 70 + 470};
  int top = 0, item = -1, topWrites = 0;
  bool enabled = true, showHint = false;
  std::string hint;
};

}  // namespace solvane::fake
