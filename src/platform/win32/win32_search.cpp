#include "platform/win32/win32_search.h"

#include "platform/win32/win32_text.h"

namespace solvane::win32 {

void Win32MatchList::Show(const std::vector<int>& lines, int highlight) {
  titles_.FillAll();  // a match may be a line still waiting to go in
  lines_ = lines;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_SETCOUNT, lines_.size(), 0);
  SendMessageW(list_, LB_SETTOPINDEX, 0, 0);
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(highlight), 0);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  // Over the title list, under the labels.
  SetWindowPos(list_, labels_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Win32MatchList::SetHighlight(int row) { SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0); }

void Win32MatchList::Hide() {
  ShowWindow(list_, SW_HIDE);
  SendMessageW(list_, LB_SETCOUNT, 0, 0);
  lines_.clear();
  lines_.shrink_to_fit();
}

int Win32MatchList::TopIndex() const {
  return IsWindowVisible(list_) ? static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0)) : 0;
}

void Win32MatchList::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID >= lines_.size()) return;
  titles_.DrawLine(item, lines_[item.itemID]);
}

std::wstring Win32MatchList::RowText(int row) const {
  if (row < 0 || row >= static_cast<int>(lines_.size())) return {};
  return titles_.WideLine(lines_[static_cast<std::size_t>(row)]);
}

bool Win32MatchList::AnswerTextMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
  const int row = static_cast<int>(wParam);
  const bool known = row >= 0 && row < static_cast<int>(lines_.size());
  if (message == LB_GETTEXTLEN) {
    result = known ? static_cast<LRESULT>(RowText(row).size()) : LB_ERR;
    return true;
  }
  if (message == LB_GETTEXT) {
    if (!known) {
      result = LB_ERR;
      return true;
    }
    // NOTE: the list box is a Unicode window, so the caller's buffer is
    // UTF-16 (the system converts for an ANSI caller).
    const std::wstring text = RowText(row);
    auto* out = reinterpret_cast<wchar_t*>(lParam);
    text.copy(out, text.size());
    out[text.size()] = L'\0';
    result = static_cast<LRESULT>(text.size());
    return true;
  }
  return false;
}

void Win32SearchLine::Open() {
  SetWindowTextW(edit_, L"");
  SetWindowTextW(status_, L"");
  ShowWindow(edit_, SW_SHOW);
  ShowWindow(status_, SW_SHOW);
  SetFocus(edit_);
}

void Win32SearchLine::Close() {
  // Hidden first: the emptied text then reaches a search already closed.
  ShowWindow(edit_, SW_HIDE);
  ShowWindow(status_, SW_HIDE);
  SetWindowTextW(edit_, L"");
  if (GetFocus() == nullptr || GetFocus() == edit_) SetFocus(window_);
}

void Win32SearchLine::SetStatus(int matches, const std::string& text) {
  // Beside the line; with no match, over the top of the empty list
  // instead, where there is room to say so.
  const Rect& place = matches == 0 ? layout_.noMatch : layout_.searchCount;
  SetWindowPos(status_, HWND_TOP, place.left, place.top, place.width(), place.height(), SWP_NOACTIVATE);
  SetWindowTextW(status_, Widen(text).c_str());
}

void Win32SearchLine::ShowNotice(const std::string& text) {
  SetWindowTextW(notice_, Widen(text).c_str());
  SetWindowPos(notice_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Win32SearchLine::HideNotice() { ShowWindow(notice_, SW_HIDE); }

std::string Win32SearchLine::Text() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
  return Utf8Of(text);
}

}  // namespace solvane::win32
