#include "platform/win32/win32_title_list.h"

#include <algorithm>
#include <span>

#include "base/app_error.h"
#include "base/text_buffer.h"
#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

void Win32TitleList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw AppError(ListIndexOutOfBoundsMessage(index));
  Reach(index);
}

int Win32TitleList::Count() const { return Filled() + waitingLines_; }

void Win32TitleList::FillLines(int most) {
  if (waitingLines_ == 0 || most <= 0) return;
  BeginUpdate();
  try {
    for (int n = 0; n < most && waitingLines_ > 0; ++n) {
      const std::string_view block = waiting_.front().bytes();
      const std::string_view line(block.data() + waitingAt_);  // up to its NUL
      const auto exact = waitingExact_.find(waitingFilled_);
      if (exact != waitingExact_.end()) {
        if (!InsertExact(-1, line, exact->second, 0)) throw AppError(kUnableToInsertLine);
        waitingExact_.erase(exact);
      } else if (Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.data())) < 0) {
        // A line added to a list that holds strings has item data 0: unchecked.
        throw AppError(kUnableToInsertLine);
      }
      widths_.push_back(extentRule_.LineWidth(line));
      --waitingLines_;
      ++waitingFilled_;
      waitingAt_ += line.size() + 1;
      if (waitingAt_ == block.size()) {
        waiting_.pop_front();
        waitingAt_ = 0;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void Win32TitleList::KeepWaiting(std::span<const std::string_view> lines) {
  // Pages of their own, not the heap's: freed heap blocks stayed with the
  // heap until the last one went, 2.4 MB for 20,000 lines on top of the
  // filled list's own.
  constexpr std::size_t kBlock = 1 << 18;
  for (const std::string_view whole : lines) {
    const std::string_view line = whole.substr(0, whole.find('\0'));
    if (waiting_.empty() || waiting_.back().used + line.size() + 1 > waiting_.back().pages.size()) {
      waiting_.push_back(WaitingBlock{OwnedPages(std::max(kBlock, line.size() + 1))});
    }
    WaitingBlock& block = waiting_.back();
    std::copy(line.begin(), line.end(), block.pages.data() + block.used);
    block.used += line.size();
    block.pages.data()[block.used++] = '\0';
  }
  waitingLines_ += static_cast<int>(lines.size());
}

void Win32TitleList::FillSome() {
  try {
    FillLines(kFillChunk);
  } catch (const AppError&) {
    fillStalled_ = true;
  }
}

void Win32TitleList::BeforeForeignMessage(UINT message, WPARAM wParam) const {
  if (waitingLines_ == 0) return;
  switch (message) {
    case LB_GETCOUNT:
      Settle();
      break;
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_GETITEMDATA:
      Reach(static_cast<int>(wParam));
      break;
    default:
      break;
  }
}

void Win32TitleList::AppendLine(int index, std::string& out) const {
  if (!ansiLines_.empty()) {
    if (const LRESULT number = ItemData(index) >> 2; number != 0) {
      const auto kept = ansiLines_.find(number);
      if (kept != ansiLines_.end()) out += kept->second;
      return;
    }
  }
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

std::wstring Win32TitleList::WideLine(int index) const {
  const LRESULT length = SendW(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendW(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::string Win32TitleList::ExactLine(int index) const {
  CheckIndex(index);
  if ((ItemData(index) >> 2) == 0) return {};
  return Utf8Of(WideLine(index));
}

bool Win32TitleList::InsertExact(int index, std::string_view ansiLine, std::string_view utf8Line, LPARAM state) {
  const std::wstring wide = Widen(utf8Line);
  const LRESULT at = SendW(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.c_str()));
  if (at < 0) return false;
  const LPARAM number = nextExact_++;
  ansiLines_[number] = std::string(ansiLine);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(at), (number << 2) | state);
  return true;
}

// The list holds the exact line; its ANSI line, which the title file keeps,
// waits here under the number the item data carries. A waiting line keeps
// its exact line until it goes in: a start with exact texts deep in a long
// history still puts in only the first page.
void Win32TitleList::SetExactLine(int index, std::string_view utf8Line) {
  if (index >= 0 && index < Count() && index >= Filled()) {
    waitingExact_[waitingFilled_ + (index - Filled())] = std::string(utf8Line);
    return;
  }
  const std::string ansi = Get(index);
  const LRESULT data = ItemData(index);
  const bool selected = ItemIndex() == index;
  const int top = TopIndex();
  ansiLines_.erase(data >> 2);
  BeginUpdate();
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  const bool put = InsertExact(index, ansi, utf8Line, data & kStateBits);
  if (!put) {  // the list took the old line out but refuses the new one: put the ANSI line back
    Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(ansi.c_str()));
    Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data & kStateBits);
  }
  if (selected) Send(LB_SETCURSEL, static_cast<WPARAM>(index));
  SetTopIndex(top);
  EndUpdate();
  if (!put) throw AppError(kUnableToInsertLine);
}

void Win32TitleList::AppendFileLines(std::string& out, int first, int count) const {
  // Each line is copied straight into the file's bytes, with no string of
  // its own: a long history has tens of thousands.
  const int filled = Filled();
  const int end = first + count;
  for (int i = first; i < std::min(end, filled); ++i) {
    AppendLine(i, out);
    out += "\r\n";
  }
  // Then the waiting lines of the range, as they are.
  int line = filled;
  std::size_t at = waitingAt_;
  for (const WaitingBlock& waiting : waiting_) {
    const std::string_view block = waiting.bytes();
    for (; at < block.size() && line < end; ++line) {
      const std::size_t length = std::char_traits<char>::length(block.data() + at);
      if (line >= first) {
        out.append(block.data() + at, length);
        out += "\r\n";
      }
      at += length + 1;
    }
    at = 0;
  }
}

void Win32TitleList::Add(const std::string& text) { Insert(Count(), text); }

void Win32TitleList::Insert(int index, const std::string& text) {
  // Right above the waiting lines is still a place in the control.
  if (waitingLines_ > 0 && index > Filled()) Settle();
  const LRESULT at = Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  if (at < 0) throw AppError(kUnableToInsertLine);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(at), 0);  // a new line is unchecked
  const int width = extentRule_.LineWidth(text);
  if (static_cast<std::size_t>(at) <= widths_.size()) widths_.insert(widths_.begin() + at, width);
  SetHorizontalExtent(std::max(HorizontalExtent(), width));
}

void Win32TitleList::Delete(int index) {
  CheckIndex(index);
  Settle();  // the widest line left may be among the waiting ones
  const int count = Count();
  if (widths_.size() != static_cast<std::size_t>(count)) {
    widths_.clear();
    for (int i = 0; i < count; ++i) widths_.push_back(extentRule_.LineWidth(Get(i)));
  }
  if (!ansiLines_.empty()) ansiLines_.erase(ItemData(index) >> 2);
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
  ansiLines_.clear();
  waiting_.clear();
  waitingAt_ = 0;
  waitingLines_ = 0;
  waitingFilled_ = 0;
  waitingExact_.clear();
  fillStalled_ = false;
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
// allocation of the list's storage rather than one every few lines. Only
// the first page goes in now: 20,000 lines took 25 to 40 ms under Wine
// before the message loop could answer.
void Win32TitleList::Assign(const std::vector<std::string_view>& lines) {
  std::size_t bytes = 0;
  for (const std::string_view line : lines) bytes += line.size() + 1;
  const std::size_t now = std::min<std::size_t>(lines.size(), kFirstPage);
  BeginUpdate();
  int extent = 0;
  try {
    Clear();
    Send(LB_INITSTORAGE, lines.size(), static_cast<LPARAM>(bytes));
    widths_.reserve(lines.size());
    KeepWaiting(std::span(lines).subspan(now));
    // Add for each line of the first page, with the extent sent once at the
    // end: what the control holds and the extent it ends with are the same.
    std::string text;  // the list copies each line; one buffer gives it the ending NUL
    for (const std::string_view line : std::span(lines).first(now)) {
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
  Reach(index);
  if (index != ItemIndex()) Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32TitleList::TopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }

int Win32TitleList::LineAtScreenPoint(int screenX, int screenY) const {
  POINT at{screenX, screenY};
  RECT client{};
  if (!IsWindowVisible(list_) || !ScreenToClient(list_, &at) || !GetClientRect(list_, &client) ||
      !PtInRect(&client, at)) {
    return -1;
  }
  // Counted from the top line rather than by LB_ITEMFROMPOINT, whose answer
  // holds 16 bits of line number.
  const auto height = static_cast<int>(Send(LB_GETITEMHEIGHT));
  if (height <= 0) return -1;
  const int line = TopIndex() + at.y / height;
  return line < Count() ? line : -1;
}

void Win32TitleList::SetTopIndex(int index) {
  Reach(index);
  if (index != TopIndex()) Send(LB_SETTOPINDEX, static_cast<WPARAM>(index));
}

int Win32TitleList::HorizontalExtent() const { return static_cast<int>(Send(LB_GETHORIZONTALEXTENT)); }

void Win32TitleList::SetHorizontalExtent(int extent) { Send(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent)); }

int Win32TitleList::State(int index) const {
  CheckIndex(index);
  return static_cast<int>(ItemData(index) & kStateBits);
}

void Win32TitleList::SetState(int index, int state) {
  CheckIndex(index);
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), (ItemData(index) & ~kStateBits) | (state & kStateBits));
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
constexpr COLORREF kPinColour = RGB(192, 0, 0);  // a kept clip's mark

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  OwnedBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush);
}

// A 16 x 13 check image (at 96 DPI): a 13-pixel box, ticked or filled grey.
// The tick is two rows of strokes at 96 DPI, more on a scaled screen.
void DrawCheck(HDC dc, int left, int top, int state, DpiScale s) {
  const RECT box{left + s(1), top, left + s(14), top + s(13)};
  FillSolid(dc, box, state == kGrayed ? RGB(192, 192, 192) : RGB(255, 255, 255));
  FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  if (state == kUnchecked) return;
  OwnedPen pen(CreatePen(PS_SOLID, 1, state == kGrayed ? RGB(128, 128, 128) : RGB(0, 0, 0)));
  SelectedObject selected(dc, pen);
  for (int dy = 0; dy < s(2); ++dy) {
    MoveToEx(dc, left + s(4), top + s(5) + dy, nullptr);
    LineTo(dc, left + s(6), top + s(7) + dy);
    LineTo(dc, left + s(11), top + s(2) + dy);
  }
}

// A pin at a line's right end: a round head on a short needle.
void DrawPin(HDC dc, const RECT& line, COLORREF background, DpiScale s) {
  const RECT area{line.right - s(12), line.top, line.right, line.bottom};
  FillSolid(dc, area, background);
  OwnedPen pen(CreatePen(PS_SOLID, s(1), kPinColour));
  OwnedBrush brush(CreateSolidBrush(kPinColour));
  SelectedObject selectedPen(dc, pen);
  SelectedObject selectedBrush(dc, brush);
  const int x = area.left + s(5);
  Ellipse(dc, x - s(3), line.top + s(1), x + s(4), line.top + s(8));
  MoveToEx(dc, x, line.top + s(7), nullptr);
  LineTo(dc, x, line.bottom - 1);
}

// The clip key a line ends with, from its UTF-16 text: the characters after
// its last header marker.
std::string KeyOfWideLine(const std::wstring& text) {
  std::string narrow(text.size(), '?');
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] < 0x80) narrow[i] = AsciiLower(static_cast<char>(text[i]));
  }
  const std::size_t marker = narrow.rfind("/:hdr:\\");
  return marker == std::string::npos ? std::string() : narrow.substr(marker + 7);
}

}  // namespace

void Win32TitleList::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) return;
  DrawLine(item, static_cast<int>(item.itemID));
}

void Win32TitleList::DrawLine(const DRAWITEMSTRUCT& item, int index) const {
  if (index < 0 || index >= Filled()) return;
  HDC dc = item.hDC;
  const RECT& line = item.rcItem;

  const DpiScale s(layout_.dpi);
  const int columnWidth = layout_.checkColumn;
  const RECT column{line.left, line.top, line.left + columnWidth, line.bottom};
  FillSolid(dc, column, kListColour);
  const int checkLeft = column.left + (columnWidth - s(16)) / 2;
  const int checkTop = line.top + ((line.bottom - line.top) - s(13)) / 2;
  DrawCheck(dc, checkLeft, checkTop, static_cast<int>(ItemData(index) & kStateBits), s);

  const RECT textArea{column.right, line.top, line.right, line.bottom};
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillSolid(dc, textArea, selected ? GetSysColor(COLOR_HIGHLIGHT) : kListColour);

  // Every line drawn from its UTF-16 text, which for an ANSI line is what
  // the system would draw from its bytes.
  const std::wstring text = WideLine(index);
  {
    // The list's font belongs to whoever set it (WM_SETFONT), not to us.
    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(list_, WM_GETFONT, 0, 0)));
    SIZE wy{};
    GetTextExtentPoint32A(dc, "Wy", 2, &wy);
    const int y = std::max<int>(line.top, (line.top + line.bottom - wy.cy) / 2);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : kTextColour);
    ExtTextOutW(dc, textArea.left + s(2), y, ETO_CLIPPED, &textArea, text.data(), static_cast<UINT>(text.size()),
                nullptr);
  }
  if (marked_ && marked_(KeyOfWideLine(text))) {
    DrawPin(dc, textArea, selected ? GetSysColor(COLOR_HIGHLIGHT) : kListColour, s);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &textArea);
}

void Win32TitleList::SetDpi(int dpi) {
  layout_ = LayOutClipWindow(dpi);
  extentRule_.set_check_column(layout_.checkColumn);
  widths_.clear();  // measured again at the next delete
  Send(LB_SETITEMHEIGHT, 0, layout_.lineHeight);
}

int Win32TitleList::LineAt(int x, int y) const {
  const LRESULT hit = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
  if (HIWORD(hit) != 0) return -1;  // outside every line
  return static_cast<int>(LOWORD(hit));
}

}  // namespace solvane::win32
