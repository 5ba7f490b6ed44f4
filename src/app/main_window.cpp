#include "app/main_window.h"

#include "app/command_ids.h"

namespace solvane::app {

namespace {
constexpr char kWindowClass[] = "TForm1";
constexpr char kOwnerClass[] = "TApplication";
constexpr char kCaption[] = "Solvane Clips";
constexpr COLORREF kPanelColour = RGB(231, 223, 173);
constexpr COLORREF kListColour = RGB(255, 255, 204);
constexpr COLORREF kNavy = RGB(0, 0, 128);

const char* const kLabels = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Keys held now, plus the mouse buttons a mouse message reports.
unsigned ShiftState(WPARAM mouseKeys = 0) {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kShiftCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= kShiftAlt;
  if (mouseKeys & MK_LBUTTON) shift |= kShiftLeft;
  if (mouseKeys & MK_RBUTTON) shift |= kShiftRight;
  if (mouseKeys & MK_MBUTTON) shift |= kShiftMiddle;
  return shift;
}

// The title picture's place on the panel.
constexpr RECT kTitlePicture = {4, 1, 4 + 101, 1 + 16};

bool InTitlePicture(int x, int y) { return x >= kTitlePicture.left && x < kTitlePicture.right && y >= kTitlePicture.top && y < kTitlePicture.bottom; }
}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() {
  // The window's last messages must not reach this half-destroyed object.
  // A window a WM_CLOSE already destroyed is not destroyed again.
  if (window_ != nullptr && IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  window_.reset();
}

bool MainWindow::Create(HFONT listFont) {
  panelBrush_.reset(CreateSolidBrush(kPanelColour));
  listBrush_.reset(CreateSolidBrush(kListColour));

  WNDCLASSA ownerClass{};
  ownerClass.lpfnWndProc = &DefWindowProcA;
  ownerClass.hInstance = instance_;
  ownerClass.lpszClassName = kOwnerClass;
  RegisterClassA(&ownerClass);
  owner_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kOwnerClass, kCaption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance_, nullptr));
  if (owner_ == nullptr) return false;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = panelBrush_;
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassA(&windowClass)) return false;

  // Owned by the hidden application window: no task-bar button of its own.
  // WM_NCCREATE has already put the handle in window_; this keeps it.
  window_.reset(CreateWindowExA(0, kWindowClass, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 379, 496, owner_,
                                nullptr, instance_, this));
  if (window_ == nullptr) return false;
  list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY |
                              LBS_HASSTRINGS | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                          8, 18, 233, 473, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTitleListId)),
                          instance_, nullptr);
  labels_ = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 10, 20, 15,
                            470, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelListId)), instance_,
                            nullptr);
  if (list_ == nullptr || labels_ == nullptr) return false;
  for (HWND control : {list_, labels_}) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), FALSE);
  for (int round = 0; round < 2; ++round) {
    for (const char* label = kLabels; *label != '\0'; ++label) {
      const char text[2] = {*label, '\0'};
      SendMessageA(labels_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
  }
  // NOTE: the subclass procedures find this object in the control's user
  // data, not in a window property: under Wine every GetProp is a round trip
  // to the wineserver, and they run for every message the list gets, five
  // per loaded line (20,000 lines cost 3 s at start that way). The LISTBOX
  // and BUTTON classes keep their own state elsewhere; user data is ours.
  for (HWND control : {list_, labels_}) {
    SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    listProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::ListProc)));
  }
  // The labels lie over the list's left edge.
  SetWindowPos(labels_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  buttonFont_.reset(CreateFontA(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif"));
  // The three up arrows are drawn (DrawUpArrows), the same on every system,
  // rather than taken from a Symbol font that may be missing or differ.
  runToTopButton_ = MakeButton(kRunToTopButtonId, "\xAD\xAD\xAD", 131, 34, buttonFont_);
  crLfLfButton_ = MakeButton(kCrLfLfButtonId, "+CR", 165, 29, buttonFont_);
  crLfButton_ = MakeButton(kCrLfButtonId, "+cR", 194, 29, buttonFont_);
  hideButton_ = MakeButton(kHideButtonId, "  ", 223, 24, buttonFont_);
  return runToTopButton_ && crLfButton_ && crLfLfButton_ && hideButton_;
}

HWND MainWindow::MakeButton(int id, const char* caption, int left, int width, HFONT font) {
  // Flat buttons drawn here; the down states come from the form.
  HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, left, 2, width, 16,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (button == nullptr) return nullptr;
  SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowLongPtrA(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  buttonProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::ButtonProc)));
  return button;
}

LRESULT CALLBACK MainWindow::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(button, GWLP_USERDATA));
  if (message == BM_GETCHECK && self->form_ != nullptr) {
    const int id = GetDlgCtrlID(button);
    const bool down = (id == kRunToTopButtonId && self->form_->runToTop()) ||
                      (id == kCrLfButtonId && self->form_->appendCrLf()) ||
                      (id == kCrLfLfButtonId && self->form_->appendCrLfLf());
    return down ? BST_CHECKED : BST_UNCHECKED;
  }
  return CallWindowProcA(self->buttonProc_, button, message, wParam, lParam);
}

void MainWindow::PaintTitlePicture(HDC dc) {
  if (titleIcon_ != nullptr) DrawIconEx(dc, kTitlePicture.left, kTitlePicture.top, titleIcon_, 16, 16, 0, nullptr, DI_NORMAL);
  win32::SelectedObject font(dc, buttonFont_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 255));
  RECT text{kTitlePicture.left + 19, kTitlePicture.top, kTitlePicture.right, kTitlePicture.bottom};
  DrawTextA(dc, "Solvane Clips", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void MainWindow::SyncButtons() {
  for (HWND button : {runToTopButton_, crLfButton_, crLfLfButton_}) InvalidateRect(button, nullptr, FALSE);
}

namespace {

constexpr COLORREF kMaroon = RGB(128, 0, 0);

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  win32::OwnedBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush);
}

// Three up arrows, as the Symbol font's arrow character looks.
void DrawUpArrows(HDC dc, const RECT& area) {
  win32::OwnedPen pen(CreatePen(PS_SOLID, 1, kMaroon));
  win32::OwnedBrush brush(CreateSolidBrush(kMaroon));
  win32::SelectedObject penSelected(dc, pen);
  win32::SelectedObject brushSelected(dc, brush);
  const int middle = (area.top + area.bottom) / 2;
  const int firstX = (area.left + area.right) / 2 - 9;
  for (int i = 0; i < 3; ++i) {
    const int x = firstX + i * 9;
    const POINT head[3] = {{x - 3, middle - 1}, {x + 3, middle - 1}, {x, middle - 5}};
    Polygon(dc, head, 3);
    MoveToEx(dc, x, middle - 1, nullptr);
    LineTo(dc, x, middle + 6);
  }
}

}  // namespace

void MainWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const int id = static_cast<int>(item.CtlID);
  bool down = (item.itemState & ODS_SELECTED) != 0;
  if (form_ != nullptr) {
    if (id == kRunToTopButtonId) down = down || form_->runToTop();
    if (id == kCrLfButtonId) down = down || form_->appendCrLf();
    if (id == kCrLfLfButtonId) down = down || form_->appendCrLfLf();
  }
  FillSolid(dc, area, down ? RGB(245, 241, 221) : kPanelColour);
  if (down) DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT);
  if (down) OffsetRect(&area, 1, 1);
  if (id == kRunToTopButtonId) {
    DrawUpArrows(dc, area);
  } else if (id == kHideButtonId) {
    // Two blanks of caption, then the glyph: a maroon dash of two rows.
    const int x = area.right - 9 - 6;
    const int y = (area.top + area.bottom) / 2 - 1;
    FillSolid(dc, RECT{x, y, x + 8, y + 2}, kMaroon);
  } else {
    char caption[8] = {};
    GetWindowTextA(item.hwndItem, caption, sizeof caption);
    win32::SelectedObject font(dc, buttonFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kMaroon);
    DrawTextA(dc, caption, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void MainWindow::OnButton(int id) {
  switch (id) {
    case kRunToTopButtonId:
      Run([this] { form_->ToggleRunToTop(); });
      break;
    case kCrLfButtonId:
      Run([this] { form_->ToggleAppendCrLf(); });
      break;
    case kCrLfLfButtonId:
      Run([this] { form_->ToggleAppendCrLfLf(); });
      break;
    case kHideButtonId:
      Run([this] { form_->OnHideButton(); });
      break;
    default:
      break;
  }
}

LRESULT CALLBACK MainWindow::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(list, GWLP_USERDATA));
  LRESULT result = 0;
  if (self->ListMessage(list, message, wParam, lParam, result)) return result;
  return CallWindowProcA(self->listProc_, list, message, wParam, lParam);
}

// Mouse and keys on the two lists; true when the message was handled here.
bool MainWindow::ListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  const bool isTitles = list == list_ && titles_ != nullptr;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      pressing_ = true;
      clickPending_ = false;
      result = CallWindowProcA(listProc_, list, message, wParam, lParam);  // selects the line
      if (isTitles && message == WM_LBUTTONDOWN && x < win32::Win32TitleList::kCheckColumn) {
        const int line = titles_->LineAt(x, y);
        if (line >= 0) Run([&] { titles_->Toggle(line); });
      }
      pressing_ = false;
      if (clickPending_) {
        clickPending_ = false;
        Run([this] { form_->OnListClick(); });
      }
      return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      result = CallWindowProcA(listProc_, list, message, wParam, lParam);
      const MouseButton button = message == WM_RBUTTONUP   ? MouseButton::Right
                                 : message == WM_LBUTTONUP ? MouseButton::Left
                                                           : MouseButton::Middle;
      Run([&] { form_->OnListMouseUp(button, ShiftState(), x, y); });
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

win32::OwnedMenu MainWindow::CreateTrayMenu(const win32::MenuPictures& pictures) {
  HMENU clipboard = CreatePopupMenu();  // owned by menu once appended to it
  AppendMenuA(clipboard, MF_STRING, kCmdClearClipboard, "Clear clipboard");
  AppendMenuA(clipboard, MF_STRING, kCmdUpperCase, "Upper case");
  AppendMenuA(clipboard, MF_STRING, kCmdLowerCase, "Lower case");
  win32::OwnedMenu menu(CreatePopupMenu());
  AppendMenuA(menu, MF_STRING, kCmdSettings, "Settings...");
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(clipboard), "Clipboard");  // owned by menu
  AppendMenuA(menu, MF_STRING, kCmdSaveClips, "Save Clips");
  AppendMenuA(menu, MF_STRING, kCmdClearClips, "Clear Clips");
  AppendMenuA(menu, MF_STRING | MF_CHECKED, kCmdCaching, " Caching");
  AppendMenuA(menu, MF_STRING, kCmdQuit, " Quit");
  using P = win32::MenuPictures;
  const std::pair<int, P::Picture> withPictures[] = {
      {0, P::kSettings}, {1, P::kClipboard}, {2, P::kSave}, {3, P::kClear}, {5, P::kQuit}};
  for (const auto& [position, picture] : withPictures) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_BITMAP;
    info.hbmpItem = pictures.get(picture);  // owned by the pictures, which outlive the menu
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
  }
  return menu;
}

void MainWindow::ShowAtStart() {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // NOTE: placed without activation, shown, and only then activated: the
  // first activation puts the window away again, which neither a hidden
  // window nor one still inside its own showing would notice.
  ShowWindow(window_, SW_SHOWNA);
  SetForegroundWindow(window_);
}

void MainWindow::PreviewKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return;
  const unsigned key = static_cast<unsigned>(message.wParam);
  Run([&] { form_->OnKeyDown(key, ShiftState()); });
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<MainWindow*>(create->lpCreateParams)->window_.reset(window);
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    // Handlers report their own failures; nothing may unwind into the system.
    return 0;
  }
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0) {  // a menu command
        OnCommand(LOWORD(wParam));
        return 0;
      }
      // NOTE: an owner-drawn button reports the second click of a double
      // click as BN_DOUBLECLICKED only; each click must toggle.
      if ((HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED) && LOWORD(wParam) >= kRunToTopButtonId &&
          LOWORD(wParam) <= kHideButtonId) {
        OnButton(LOWORD(wParam));
        return 0;
      }
      if (HIWORD(wParam) == LBN_SELCHANGE) {  // user input only, never LB_SETCURSEL
        if (LOWORD(wParam) == kTitleListId) {
          if (pressing_) {
            clickPending_ = true;
          } else {
            Run([this] { form_->OnListClick(); });
          }
        }
        if (LOWORD(wParam) == kLabelListId) Run([this] { form_->OnLabelClick(); });
        return 0;
      }
      break;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlID == static_cast<UINT>(kTitleListId)) {
        measure->itemHeight = win32::Win32TitleList::kLineHeight;
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType == ODT_BUTTON) {
        DrawButton(*draw);
        return TRUE;
      }
      if (draw->CtlID == static_cast<UINT>(kTitleListId) && titles_ != nullptr) {
        titles_->Draw(*draw);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORLISTBOX: {
      const bool isLabels = reinterpret_cast<HWND>(lParam) == labels_;
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, isLabels ? kPanelColour : kListColour);
      SetTextColor(dc, kNavy);
      return reinterpret_cast<LRESULT>(isLabels ? panelBrush_.get() : listBrush_.get());
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Run([this] { form_->OnActivate(); });
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const int x = static_cast<short>(LOWORD(lParam));
      const int y = static_cast<short>(HIWORD(lParam));
      const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                             : MouseButton::Middle;
      SetCapture(window_);  // the window moves under the pointer while dragged
      if (InTitlePicture(x, y)) {
        dragOnImage_ = true;
        Run([&] { form_->OnTitlePictureDragStart(button, ShiftState(wParam), x - kTitlePicture.left, y - kTitlePicture.top); });
      } else {
        dragOnImage_ = false;
        Run([&] { form_->OnDragStart(button, ShiftState(wParam), x, y); });
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      // The pointer's screen place, measured against where the window is
      // now: a move queued before a drag step moved the window carries a
      // position relative to the old place, and would move it again.
      const DWORD at = GetMessagePos();
      POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
      ScreenToClient(window_, &point);
      const int x = point.x;
      const int y = point.y;
      if (dragOnImage_) {
        Run([&] { form_->OnTitlePictureDragMove(ShiftState(wParam), x - kTitlePicture.left, y - kTitlePicture.top); });
      } else {
        Run([&] { form_->OnDragMove(ShiftState(wParam), x, y); });
      }
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (GetCapture() == window_) ReleaseCapture();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintTitlePicture(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_ACTIVATEAPP:
      if (wParam == FALSE) Run([this] { form_->OnDeactivate(); });
      break;
    case WM_TIMER:
      if (wParam == static_cast<WPARAM>(kHintWatchdogTimer)) Run([this] { form_->OnHintWatchdogTimer(); });
      if (wParam == static_cast<WPARAM>(kAutosaveTimer)) Run([this] { form_->OnAutosaveTimer(); });
      if (wParam == static_cast<WPARAM>(kLabelFollowTimer)) Run([this] { form_->OnLabelFollowTimer(); });
      return 0;
    case WM_QUERYENDSESSION:
      return form_ != nullptr ? form_->OnQueryEndSession() : TRUE;
    case WM_ENDSESSION:
      if (form_ != nullptr) form_->OnEndSession(wParam != FALSE);
      return 0;
    case WM_CLOSE:
      // What could not be saved keeps the program open if the user says so.
      // Destroyed here on purpose, not left to window_'s owner: WM_DESTROY
      // ends the message loop now. window_ then finds it gone at the end.
      if (form_ == nullptr || form_->OnClose()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(unsigned id) {
  switch (id) {
    case kCmdSettings:
      Run([this] { form_->OpenSettings(); });
      break;
    case kCmdCaching:
      Run([this] { form_->OnCachingCommand(); });
      break;
    case kCmdSaveClips:
      Run([this] { form_->OnSaveClipsCommand(); });
      break;
    case kCmdClearClips:
      Run([this] { form_->ClearClips(); });
      break;
    case kCmdQuit:
      Run([this] { form_->Quit(); });
      break;
    case kCmdClearClipboard:
      Run([this] { form_->ClearClipboard(); });
      break;
    case kCmdUpperCase:
      Run([this] { form_->UpperCaseClipboard(); });
      break;
    case kCmdLowerCase:
      Run([this] { form_->LowerCaseClipboard(); });
      break;
    default:
      break;
  }
}

}  // namespace solvane::app
