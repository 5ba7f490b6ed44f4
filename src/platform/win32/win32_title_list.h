#pragma once
#include <windows.h>

#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/components/list_extent.h"
#include "platform/components/window_layout.h"
#include "platform/win32/win32_owned.h"
#include "platform/title_list.h"

namespace solvane::win32 {

// The clip list over a LISTBOX control, which must be a Unicode window so
// that exact lines keep their characters; does not own the handle. A
// line's check state rides along in its item data, and so does, for an
// exact line, the number under which its ANSI line is kept here.
//
// A long Assign puts only its first page into the control; the older lines
// wait here, in order, and go in through FillSome while the program is
// idle. Every member still presents the whole list: one that reaches a
// waiting line, or changes the list below the lines in the control, puts
// the rest in first. Waiting lines are unchecked ANSI lines, saved as they
// are, and do not widen the sideways extent (the first activation and
// every showing set it to 0 anyway). An exact line given to a waiting line
// waits with it, and goes in in its place.
class Win32TitleList : public TitleList {
 public:
  Win32TitleList(HWND list, TextMetrics& font)
      : list_(list), extentRule_(font), layout_(LayOutClipWindow(kDesignDpi)) {}

  int Count() const override;
  std::string Get(int index) const override;
  using TitleList::AppendFileLines;
  void AppendFileLines(std::string& out, int first, int count) const override;
  void Add(const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  void Assign(const std::vector<std::string_view>& lines) override;
  void BeginUpdate() override;
  void EndUpdate() override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  int TopIndex() const override;
  void SetTopIndex(int index) override;
  int LineAtScreenPoint(int screenX, int screenY) const override;
  void SetMarkedKeys(std::function<bool(std::string_view key)> marked) override { marked_ = std::move(marked); }
  void RedrawMarks() override { InvalidateRect(list_, nullptr, FALSE); }
  int HorizontalExtent() const override;
  void SetHorizontalExtent(int extent) override;
  void SetEnabled(bool enabled) override { EnableWindow(list_, enabled); }
  int State(int index) const override;
  void SetState(int index, int state) override;
  void SetExactLine(int index, std::string_view utf8Line) override;
  std::string ExactLine(int index) const override;

  HWND handle() const { return list_; }

  // Lines Assign puts in at once: the newest, three and a half times what
  // the clip window shows.
  static constexpr int kFirstPage = 128;
  // Lines FillSome puts in per call: under a millisecond under Wine, so a
  // message waits no longer than that for the loop.
  static constexpr int kFillChunk = 512;
  // Whether lines still wait for FillSome.
  bool HasWaitingLines() const { return waitingLines_ > 0 && !fillStalled_; }
  // Puts every waiting line into the control now: for another list that
  // draws this one's lines (the matches), which reads them from there.
  void FillAll() const { Settle(); }
  // Puts the next waiting lines into the control. A line the control
  // refuses stays waiting (and is saved with the rest); FillSome then stops
  // trying, and the next member that needs the lines tries once more and
  // throws as Add does.
  void FillSome();
  // A message another program sent the control: one that counts the lines
  // or reads a line not yet in the control puts every line in first, so
  // that other programs always read the whole list.
  void BeforeForeignMessage(UINT message, WPARAM wParam) const;
  // Whether the message the control gets now comes from this object. A
  // message another program sent is being answered all the way down, so
  // that alone does not tell the control's own callers from other programs.
  bool Sending() const { return sending_ > 0; }

  // Lines and their drawing at a DPI (96 until told): the line height, the
  // check column and the check box. The lines measured for the sideways
  // extent are measured again in the font of the new DPI.
  void SetDpi(int dpi);
  int lineHeight() const { return layout_.lineHeight; }
  int checkColumn() const { return layout_.checkColumn; }
  // Owner drawing of one line: the check box in its column, the text area
  // filled (highlighted when selected), the text 2 pixels (at 96 DPI) right
  // of the column, centred on "Wy", cut at the right edge; the focus
  // rectangle.
  void Draw(const DRAWITEMSTRUCT& item) const;
  // The same drawing of line `line` of this list into another list's item
  // (a search's matches show the title list's lines).
  void DrawLine(const DRAWITEMSTRUCT& item, int line) const;
  // Line `index` as the control holds it, in UTF-16.
  std::wstring WideLine(int index) const;
  // The line under a point of the list's client area; -1 below the last.
  int LineAt(int x, int y) const;

 private:
  void CheckIndex(int index) const;
  // The lines in the control, without the waiting ones.
  int Filled() const { return static_cast<int>(Send(LB_GETCOUNT)); }
  // Puts every waiting line into the control before line `index` (or any
  // line below the control's) is used. Logically const: the list presented
  // stays the same.
  void Reach(int index) const {
    if (waitingLines_ > 0 && index >= Filled()) Settle();
  }
  void Settle() const {
    if (waitingLines_ > 0) const_cast<Win32TitleList*>(this)->FillLines(waitingLines_);
  }
  // Moves up to `most` waiting lines into the control, each measured.
  void FillLines(int most);
  // Puts an exact line in at `index` (-1: at the end) for its ANSI line,
  // with the check state given; false when the control refuses it.
  bool InsertExact(int index, std::string_view ansiLine, std::string_view utf8Line, LPARAM state);
  // Keeps these lines waiting, after any that wait already.
  void KeepWaiting(std::span<const std::string_view> lines);
  // Appends line `index`'s text to `out`.
  void AppendLine(int index, std::string& out) const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    ++sending_;
    const LRESULT result = SendMessageA(list_, message, wParam, lParam);
    --sending_;
    return result;
  }
  LRESULT SendW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    ++sending_;
    const LRESULT result = SendMessageW(list_, message, wParam, lParam);
    --sending_;
    return result;
  }
  // Item data: the check state in the low bits, an exact line's number
  // above them (0 for the other lines).
  static constexpr LPARAM kStateBits = 3;
  LRESULT ItemData(int index) const { return Send(LB_GETITEMDATA, static_cast<WPARAM>(index)); }

  HWND list_;
  std::function<bool(std::string_view key)> marked_;
  ListExtent extentRule_;
  ClipWindowLayout layout_;
  int updates_ = 0;  // BeginUpdate calls not yet ended
  // Each line's width by the extent rule, in the list's order. When the
  // widest line goes, the next widest is found here: measuring every line
  // again took 0.2 to 1.6 s for 20,000 lines under Wine, and it happens on
  // every paste, since the hotkey resets the extent to 0. Lines added or
  // removed behind this object's back are measured again on the next delete.
  std::vector<int> widths_;
  // The ANSI lines of the exact lines, by number.
  std::unordered_map<LPARAM, std::string> ansiLines_;
  LPARAM nextExact_ = 1;
  // The waiting lines, oldest last, each ended by a NUL (the control keeps a
  // line up to its first NUL too), in blocks that are freed as they empty.
  struct WaitingBlock {
    OwnedPages pages;
    std::size_t used = 0;
    std::string_view bytes() const { return {pages.data(), used}; }
  };
  std::deque<WaitingBlock> waiting_;
  std::size_t waitingAt_ = 0;  // the next line's place in the first block
  int waitingLines_ = 0;
  int waitingFilled_ = 0;  // waiting lines put in since the Assign
  // The exact lines given to waiting lines, by their place among the
  // waiting lines of the Assign.
  std::unordered_map<int, std::string> waitingExact_;
  bool fillStalled_ = false;  // FillSome met a refusal
  mutable int sending_ = 0;   // Send calls under way
};

}  // namespace solvane::win32
