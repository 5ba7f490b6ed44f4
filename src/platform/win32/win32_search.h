#pragma once
// The search's controls on the clip window: the match list, an owner-drawn
// list box that holds no strings of its own (LBS_NODATA: a search that
// matches the whole history costs a count, not a copy of every title), and
// the search line, an edit control over the title picture with its status
// beside it. Neither owns its window: the clip window does.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/components/window_layout.h"
#include "platform/match_list.h"
#include "platform/win32/win32_title_list.h"

namespace solvane::win32 {

class Win32MatchList : public MatchList {
 public:
  // `list` over the title list `titles`, whose lines it shows; `labels` the
  // label column, which stays above it.
  Win32MatchList(HWND list, HWND labels, const Win32TitleList& titles)
      : list_(list), labels_(labels), titles_(titles) {}

  void Show(const std::vector<int>& lines, int highlight) override;
  void SetHighlight(int row) override;
  void Hide() override;
  int TopIndex() const override;

  void Draw(const DRAWITEMSTRUCT& item) const;
  // A row's text for another program (a screen reader) that asks, as a
  // list of strings would answer LB_GETTEXTLEN and LB_GETTEXT; false for
  // any other message.
  bool AnswerTextMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;
  HWND handle() const { return list_; }

 private:
  std::wstring RowText(int row) const;

  HWND list_;
  HWND labels_;
  const Win32TitleList& titles_;
  std::vector<int> lines_;
};

class Win32SearchLine : public SearchLine {
 public:
  // The edit control, the status beside it, the notice over both, and the
  // window to give the keyboard back to, whose layout places the status.
  Win32SearchLine(HWND edit, HWND status, HWND notice, HWND window, const ClipWindowLayout& layout)
      : edit_(edit), status_(status), notice_(notice), window_(window), layout_(layout) {}

  void Open() override;
  void Close() override;
  void SetStatus(int matches, const std::string& text) override;
  void ShowNotice(const std::string& text) override;
  void HideNotice() override;

  // The text typed, in UTF-8.
  std::string Text() const;

 private:
  HWND edit_;
  HWND status_;
  HWND notice_;
  HWND window_;
  const ClipWindowLayout& layout_;
};

}  // namespace solvane::win32
