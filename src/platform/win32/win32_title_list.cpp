#include "platform/win32/win32_title_list.h"

#include "core/app_error.h"

namespace solvane::win32 {

void Win32TitleList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw AppError(ListIndexOutOfBoundsMessage(index));
}

int Win32TitleList::Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }

std::string Win32TitleList::Get(int index) const {
  CheckIndex(index);
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void Win32TitleList::Add(const std::string& text) { Insert(Count(), text); }

void Win32TitleList::Insert(int index, const std::string& text) {
  const LRESULT at = Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) throw AppError(kUnableToInsertLine);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(at), 0);  // a new line is unchecked
  SetHorizontalExtent(extentRule_.Grown(HorizontalExtent(), text));
}

void Win32TitleList::Delete(int index) {
  const std::string text = Get(index);  // checks the index
  const int extent = HorizontalExtent();
  if (!extentRule_.IsWidest(extent, text)) {
    Send(LB_DELETESTRING, static_cast<WPARAM>(index));
    return;
  }
  Send(WM_HSCROLL, SB_LEFT);
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  int widest = 0;
  for (int i = 0, n = Count(); i < n; ++i) widest = extentRule_.Grown(widest, Get(i));
  SetHorizontalExtent(widest);
}

void Win32TitleList::Clear() {
  SetHorizontalExtent(0);
  Send(WM_HSCROLL, SB_LEFT);
  Send(LB_RESETCONTENT);
}

// A whole file costs one repaint, however many lines it holds.
void Win32TitleList::Assign(const std::vector<std::string>& lines) {
  Send(WM_SETREDRAW, FALSE);
  try {
    TitleList::Assign(lines);
  } catch (...) {
    Send(WM_SETREDRAW, TRUE);
    throw;
  }
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(list_, nullptr, TRUE);
}

int Win32TitleList::ItemIndex() const { return static_cast<int>(Send(LB_GETCURSEL)); }

void Win32TitleList::SetItemIndex(int index) {
  if (index != ItemIndex()) Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32TitleList::TopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }

void Win32TitleList::SetTopIndex(int index) {
  if (index != TopIndex()) Send(LB_SETTOPINDEX, static_cast<WPARAM>(index));
}

int Win32TitleList::HorizontalExtent() const { return static_cast<int>(Send(LB_GETHORIZONTALEXTENT)); }

void Win32TitleList::SetHorizontalExtent(int extent) { Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent)); }

bool Win32TitleList::Checked(int index) const {
  CheckIndex(index);
  return Send(LB_GETITEMDATA, static_cast<WPARAM>(index)) != 0;
}

void Win32TitleList::SetChecked(int index, bool checked) {
  CheckIndex(index);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), checked ? 1 : 0);
}

}  // namespace solvane::win32
