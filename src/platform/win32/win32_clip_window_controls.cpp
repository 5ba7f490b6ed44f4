// The clip window's controls: the flat option buttons of the top strip, the
// title picture, and the hooks on the title list and label column.

#include "platform/win32/win32_clip_window.h"
#include "platform/win32/win32_command_ids.h"

namespace solvane::win32 {

namespace {

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  OwnedBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush);
}

// Three up arrows, as the Symbol font's arrow character looks.
void DrawUpArrows(HDC dc, const RECT& area, COLORREF colour, DpiScale s) {
  OwnedPen pen(CreatePen(PS_SOLID, s(1), colour));
  OwnedBrush brush(CreateSolidBrush(colour));
  SelectedObject penSelected(dc, pen);
  SelectedObject brushSelected(dc, brush);
  const int middle = (area.top + area.bottom) / 2;
  const int firstX = (area.left + area.right) / 2 - s(9);
  for (int i = 0; i < 3; ++i) {
    const int x = firstX + i * s(9);
    const POINT head[3] = {{x - s(3), middle - s(1)}, {x + s(3), middle - s(1)}, {x, middle - s(5)}};
    Polygon(dc, head, 3);
    MoveToEx(dc, x, middle - s(1), nullptr);
    LineTo(dc, x, middle + s(6));
  }
}

}  // namespace

HWND Win32ClipWindow::MakeButton(int id, const char* caption) {
  // Flat buttons drawn here; the down states come from the handlers. Placed
  // with the other controls.
  HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (button == nullptr) return nullptr;
  SetWindowLongPtrA(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  buttonProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ClipWindow::ButtonProc)));
  return button;
}

bool Win32ClipWindow::OptionDown(int id) const {
  if (events_ == nullptr) return false;
  return (id == kRunToTopButtonId && events_->runToTop()) || (id == kCrLfButtonId && events_->appendCrLf()) ||
         (id == kCrLfLfButtonId && events_->appendCrLfLf());
}

LRESULT CALLBACK Win32ClipWindow::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32ClipWindow*>(GetWindowLongPtrA(button, GWLP_USERDATA));
  if (message == BM_GETCHECK && self->events_ != nullptr) {
    return self->OptionDown(GetDlgCtrlID(button)) ? BST_CHECKED : BST_UNCHECKED;
  }
  return CallWindowProcA(self->buttonProc_, button, message, wParam, lParam);
}

void Win32ClipWindow::PaintTitlePicture(HDC dc) {
  const Rect& picture = layout_.titlePicture;
  if (titleIcon_ != nullptr) {
    DrawIconEx(dc, picture.left, picture.top, titleIcon_, layout_.iconSize, layout_.iconSize, 0, nullptr, DI_NORMAL);
  }
  SelectedObject font(dc, buttonFont_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 255));
  RECT text{picture.left + layout_.captionIndent, picture.top, picture.right, picture.bottom};
  DrawTextA(dc, "Solvane Clips", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Win32ClipWindow::SyncButtons() {
  for (HWND button : {runToTopButton_, crLfButton_, crLfLfButton_}) InvalidateRect(button, nullptr, FALSE);
}

void Win32ClipWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const int id = static_cast<int>(item.CtlID);
  const bool down = (item.itemState & ODS_SELECTED) != 0 || OptionDown(id);
  FillSolid(dc, area, down ? RGB(245, 241, 221) : kPanelColour);
  if (down) DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
  const DpiScale s(layout_.dpi);
  if (down) OffsetRect(&area, s(1), s(1));
  if (id == kRunToTopButtonId) {
    DrawUpArrows(dc, area, kMaroon, s);
  } else if (id == kHideButtonId) {
    // Two blanks of caption, then the glyph: a maroon dash of two rows.
    const int x = area.right - s(9 + 6);
    const int y = (area.top + area.bottom) / 2 - s(1);
    FillSolid(dc, RECT{x, y, x + s(8), y + s(2)}, kMaroon);
  } else {
    char caption[8] = {};
    GetWindowTextA(item.hwndItem, caption, sizeof caption);
    SelectedObject font(dc, buttonFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kMaroon);
    DrawTextA(dc, caption, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void Win32ClipWindow::OnButton(int id) {
  static constexpr EventRoute kRoutes[] = {
      {kRunToTopButtonId, &ClipWindowEvents::ToggleRunToTop},
      {kCrLfButtonId, &ClipWindowEvents::ToggleAppendCrLf},
      {kCrLfLfButtonId, &ClipWindowEvents::ToggleAppendCrLfLf},
      {kHideButtonId, &ClipWindowEvents::OnHideButton},
  };
  Route(kRoutes, static_cast<unsigned>(id));
}

LRESULT CALLBACK Win32ClipWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32ClipWindow*>(GetWindowLongPtrA(list, GWLP_USERDATA));
  LRESULT result = 0;
  if (self->ListMessage(list, message, wParam, lParam, result)) return result;
  return CallWindowProcW(self->listProc_, list, message, wParam, lParam);
}

bool Win32ClipWindow::ListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  const bool isTitles = list == list_ && titles_ != nullptr;
  // The matches hold no strings: their rows' texts are the title lines'.
  if (list == matchList_ && matches_ != nullptr && matches_->AnswerTextMessage(message, wParam, lParam, result)) {
    return true;
  }
  // Other programs (screen readers, the test driver) read the whole list.
  if (isTitles && titles_->HasWaitingLines() && !titles_->Sending() && InSendMessage()) {
    titles_->BeforeForeignMessage(message, wParam);
  }
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      pressing_ = true;
      clickPending_ = false;
      matchClickPending_ = false;
      result = CallWindowProcW(listProc_, list, message, wParam, lParam);  // selects the line
      if (isTitles && message == WM_LBUTTONDOWN && x < layout_.checkColumn) {
        const int line = titles_->LineAt(x, y);
        if (line >= 0) Run([&] { titles_->Toggle(line); });
      }
      pressing_ = false;
      if (clickPending_) {
        clickPending_ = false;
        Run([this] { events_->OnListClick(); });
      }
      if (matchClickPending_) {
        matchClickPending_ = false;
        const int row = static_cast<int>(SendMessageW(matchList_, LB_GETCURSEL, 0, 0));
        Run([&] { events_->OnMatchClick(row); });
      }
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      result = CallWindowProcW(listProc_, list, message, wParam, lParam);
      const MouseButton button = message == WM_RBUTTONUP   ? MouseButton::Right
                                 : message == WM_LBUTTONUP ? MouseButton::Left
                                                           : MouseButton::Middle;
      Run([&] { events_->OnListMouseUp(button, ShiftState(), x, y); });
      return true;
    }
    case WM_KEYDOWN:
      if (isTitles && wParam == VK_SPACE) {  // the space key ticks, and goes no further
        const int selected = titles_->ItemIndex();
        if (selected >= 0) Run([&] { titles_->Toggle(selected); });
        result = 0;
        return true;
      }
      return false;
    case WM_CHAR:
      if (isTitles && (wParam == '+' || wParam == '-' || wParam == ' ')) {
        if (wParam != ' ') Run([&] { titles_->SetAllChecked(wParam == '+'); });
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace solvane::win32
