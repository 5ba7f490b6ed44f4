#pragma once
#include <windows.h>

#include <string>

#include "platform/label_column.h"
#include "platform/win32/win32_hint.h"

namespace solvane::win32 {

// The label column over a LISTBOX control; does not own the handle.
class Win32LabelColumn : public LabelColumn {
 public:
  // `hint` shows the preview; not owned.
  Win32LabelColumn(HWND list, HintWindow& hint) : list_(list), hintWindow_(hint) {}
  int TopIndex() const override { return static_cast<int>(SendMessageA(list_, LB_GETTOPINDEX, 0, 0)); }
  void SetTopIndex(int index) override {
    if (index != TopIndex()) SendMessageA(list_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
  }
  int ItemIndex() const override { return static_cast<int>(SendMessageA(list_, LB_GETCURSEL, 0, 0)); }
  void SetItemIndex(int index) override {
    if (index != ItemIndex()) SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void SetEnabled(bool enabled) override { EnableWindow(list_, enabled); }
  void SetHint(const std::string& text) override {
    hint_ = text;
    if (showHint_) Update();
  }
  void SetShowHint(bool show) override {
    showHint_ = show;
    Update();
  }
  Rect Bounds() const override {
    RECT r{};
    GetWindowRect(list_, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
  }
  const std::string& hint() const { return hint_; }
  bool showHint() const { return showHint_; }

 private:
  // Shown while hints are on and there is a text, as the hint machinery does.
  void Update() {
    if (showHint_ && !hint_.empty()) {
      hintWindow_.Show(hint_);
    } else {
      hintWindow_.Hide();
    }
  }

  HWND list_;
  HintWindow& hintWindow_;
  std::string hint_;
  bool showHint_ = false;
};

}  // namespace solvane::win32
