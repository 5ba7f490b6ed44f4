#include "platform/win32/win32_title_list.h"

#include <algorithm>

#include "base/app_error.h"
#include "platform/win32/win32_owned.h"

namespace solvane::win32 {

void Win32TitleList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw AppError(ListIndexOutOfBoundsMessage(index));
}

int Win32TitleList::Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }

void Win32TitleList::AppendLine(int index, std::string& out) const {
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(length) + 1);  // room for the list's NUL
  const LRESULT copied = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out.data() + at));
  out.resize(at + (copied > 0 ? static_cast<std::size_t>(copied) : 0));
}

std::string Win32TitleList::Get(int index) const {
  CheckIndex(index);
  std::string text;
  AppendLine(index, text);
  return text;
}

void Win32TitleList::AppendFileLines(std::string& out) const {
  // Each line is copied straight into the file's bytes, with no string of
  // its own: a long history has tens of thousands.
  for (int i = 0, n = Count(); i < n; ++i) {
    AppendLine(i, out);
    out += "\r\n";
  }
}

void Win32TitleList::Add(const std::string& text) { Insert(Count(), text); }

void Win32TitleList::Insert(int index, const std::string& text) {
  const LRESULT at = Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) throw AppError(kUnableToInsertLine);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(at), 0);  // a new line is unchecked
  const int width = extentRule_.LineWidth(text);
  if (static_cast<std::size_t>(at) <= widths_.size()) widths_.insert(widths_.begin() + at, width);
  SetHorizontalExtent(std::max(HorizontalExtent(), width));
}

void Win32TitleList::Delete(int index) {
  CheckIndex(index);
  const int count = Count();
  if (widths_.size() != static_cast<std::size_t>(count)) {
    widths_.clear();
    for (int i = 0; i < count; ++i) widths_.push_back(extentRule_.LineWidth(Get(i)));
  }
  const int width = widths_[static_cast<std::size_t>(index)];
  widths_.erase(widths_.begin() + index);
  // The rule of ListExtent::IsWidest, on the width measured at insertion.
  if (width < HorizontalExtent()) {
    Send(LB_DELETESTRING, static_cast<WPARAM>(index));
    return;
  }
  Send(WM_HSCROLL, SB_LEFT);
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  SetHorizontalExtent(widths_.empty() ? 0 : *std::max_element(widths_.begin(), widths_.end()));
}

void Win32TitleList::Clear() {
  SetHorizontalExtent(0);
  Send(WM_HSCROLL, SB_LEFT);
  Send(LB_RESETCONTENT);
  widths_.clear();
}

// NOTE: with redrawing off, the list also leaves its scroll bars alone;
// a paste's title moves otherwise cost a new layout each (tens of ms).
void Win32TitleList::BeginUpdate() {
  if (updates_++ == 0) Send(WM_SETREDRAW, FALSE);
}

void Win32TitleList::EndUpdate() {
  if (updates_ == 0 || --updates_ > 0) return;
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(list_, nullptr, TRUE);
}

// A whole file costs one repaint, however many lines it holds, and one
// allocation of the list's storage rather than one every few lines.
void Win32TitleList::Assign(const std::vector<std::string_view>& lines) {
  std::size_t bytes = 0;
  for (const std::string_view line : lines) bytes += line.size() + 1;
  BeginUpdate();
  int extent = 0;
  try {
    Clear();
    Send(LB_INITSTORAGE, lines.size(), static_cast<LPARAM>(bytes));
    widths_.reserve(lines.size());
    // Add for each line, with the extent sent once at the end: what the list
    // holds and the extent it ends with are the same.
    std::string text;  // the list copies each line; one buffer gives it the ending NUL
    for (const std::string_view line : lines) {
      text.assign(line);
      // A line added to a list that holds strings has item data 0: unchecked.
      if (Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())) < 0) throw AppError(kUnableToInsertLine);
      widths_.push_back(extentRule_.LineWidth(line));
      extent = std::max(extent, widths_.back());
    }
  } catch (...) {
    SetHorizontalExtent(extent);
    EndUpdate();
    throw;
  }
  SetHorizontalExtent(extent);
  EndUpdate();
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

int Win32TitleList::State(int index) const {
  CheckIndex(index);
  return static_cast<int>(Send(LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void Win32TitleList::SetState(int index, int state) {
  CheckIndex(index);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), state);
  RECT line{};
  if (Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&line)) != LB_ERR) {
    InvalidateRect(list_, &line, FALSE);
  }
}

}  // namespace solvane::win32

namespace solvane::win32 {

namespace {

constexpr COLORREF kListColour = RGB(255, 255, 204);
constexpr COLORREF kTextColour = RGB(0, 0, 128);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  OwnedBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush);
}

// A 16 x 13 check image: a 13-pixel box, ticked or filled grey.
void DrawCheck(HDC dc, int left, int top, int state) {
  const RECT box{left + 1, top, left + 14, top + 13};
  FillSolid(dc, box, state == kGrayed ? RGB(192, 192, 192) : RGB(255, 255, 255));
  FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  if (state == kUnchecked) return;
  OwnedPen pen(CreatePen(PS_SOLID, 1, state == kGrayed ? RGB(128, 128, 128) : RGB(0, 0, 0)));
  SelectedObject selected(dc, pen);
  for (int dy = 0; dy < 2; ++dy) {
    MoveToEx(dc, left + 4, top + 5 + dy, nullptr);
    LineTo(dc, left + 6, top + 7 + dy);
    LineTo(dc, left + 11, top + 2 + dy);
  }
}

}  // namespace

void Win32TitleList::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const RECT& line = item.rcItem;
  const int index = static_cast<int>(item.itemID);

  const RECT column{line.left, line.top, line.left + kCheckColumn, line.bottom};
  FillSolid(dc, column, kListColour);
  const int checkLeft = column.left + (kCheckColumn - 16) / 2;
  const int checkTop = line.top + ((line.bottom - line.top) - 13) / 2;
  DrawCheck(dc, checkLeft, checkTop, static_cast<int>(item.itemData));

  const RECT textArea{column.right, line.top, line.right, line.bottom};
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillSolid(dc, textArea, selected ? GetSysColor(COLOR_HIGHLIGHT) : kListColour);

  const std::string text = Get(index);
  {
    // The list's font belongs to whoever set it (WM_SETFONT), not to us.
    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0)));
    SIZE wy{};
    GetTextExtentPoint32A(dc, "Wy", 2, &wy);
    const int y = std::max<int>(line.top, (line.top + line.bottom - wy.cy) / 2);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : kTextColour);
    ExtTextOutA(dc, textArea.left + 2, y, ETO_CLIPPED, &textArea, text.data(), static_cast<UINT>(text.size()),
                nullptr);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &textArea);
}

int Win32TitleList::LineAt(int x, int y) const {
  const LRESULT hit = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
  if (HIWORD(hit) != 0) return -1;  // outside every line
  return static_cast<int>(LOWORD(hit));
}

}  // namespace solvane::win32
