#pragma once
#include <windows.h>

#include "platform/list_extent.h"
#include "platform/title_list.h"

namespace solvane::win32 {

// The clip list over a LISTBOX control; does not own the handle. A line's
// check state rides along as its item data.
class Win32TitleList : public TitleList {
 public:
  Win32TitleList(HWND list, TextMetrics& font) : list_(list), extentRule_(font) {}

  int Count() const override;
  std::string Get(int index) const override;
  void Add(const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  void Assign(const std::vector<std::string>& lines) override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  int TopIndex() const override;
  void SetTopIndex(int index) override;
  int HorizontalExtent() const override;
  void SetHorizontalExtent(int extent) override;
  bool Checked(int index) const override;
  void SetChecked(int index, bool checked) override;

  HWND handle() const { return list_; }

 private:
  void CheckIndex(int index) const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(list_, message, wParam, lParam);
  }

  HWND list_;
  ListExtent extentRule_;
};

}  // namespace solvane::win32
