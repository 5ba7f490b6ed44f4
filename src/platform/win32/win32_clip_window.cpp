#include "platform/win32/win32_clip_window.h"

#include <utility>

#include "platform/label_column.h"
#include "platform/timers.h"
#include "platform/win32/win32_command_ids.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_screens.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

namespace {
constexpr char kWindowClass[] = "TForm1";
constexpr char kOwnerClass[] = "TApplication";
constexpr char kCaption[] = "Solvane Clips";

const char* const kLabels = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ";

int LowX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int HighY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }
}  // namespace

Win32ClipWindow* Win32ClipWindow::previewing_ = nullptr;

Win32ClipWindow::Win32ClipWindow(HINSTANCE instance) : instance_(instance) {}

Win32ClipWindow::~Win32ClipWindow() {
  if (previewing_ == this) previewing_ = nullptr;
  keyPreview_.reset();
  // The window's last messages must not reach this half-destroyed object.
  // A window a WM_CLOSE already destroyed is not destroyed again.
  if (window_ != nullptr && IsWindow(window_)) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  window_.reset();
}

unsigned Win32ClipWindow::ShiftState(WPARAM mouseKeys) {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShiftShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kShiftCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= kShiftAlt;
  if (mouseKeys & MK_LBUTTON) shift |= kShiftLeft;
  if (mouseKeys & MK_RBUTTON) shift |= kShiftRight;
  if (mouseKeys & MK_MBUTTON) shift |= kShiftMiddle;
  return shift;
}

namespace {
HMENU ChildId(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// A child made at no place: PlaceControls puts it where the layout says.
HWND MakeChild(HINSTANCE instance, HWND parent, DWORD exStyle, const wchar_t* className, DWORD style, int id) {
  return CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent, ChildId(id), instance, nullptr);
}

void Place(HWND control, const Rect& at) {
  SetWindowPos(control, nullptr, at.left, at.top, at.width(), at.height(),
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}
}  // namespace

bool Win32ClipWindow::Create(Win32TextMetrics& listFont) {
  listFont_ = &listFont;
  panelBrush_.reset(CreateSolidBrush(kPanelColour));
  listBrush_.reset(CreateSolidBrush(kListColour));
  if (!CreateWindows() || !CreateLists() || !CreateSearch() || !CreateButtons()) return false;
  // Laid out at the DPI of the screen the window is on, which the list
  // font follows.
  const int dpi = WindowDpi(window_);
  if (dpi != layout_.dpi) {
    layout_ = LayOutClipWindow(dpi);
    listFont.SetDpi(dpi);  // no window uses the old font yet
  }
  buttonFont_ = MakeFont("MS Sans Serif", layout_.fontHeight, FW_BOLD);
  SetFonts();
  PlaceControls();
  SetWindowPos(window_, nullptr, 0, 0, layout_.width, layout_.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return InstallKeyPreview();
}

void Win32ClipWindow::SetFonts() {
  const auto listFont = reinterpret_cast<WPARAM>(listFont_->font());
  for (HWND control : {list_, labels_, matchList_, searchLine_, searchStatus_, notice_}) {
    SendMessageW(control, WM_SETFONT, listFont, FALSE);
  }
  for (HWND button : {runToTopButton_, crLfLfButton_, crLfButton_, hideButton_}) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.get()), FALSE);
  }
  // A plain list box takes its line height from its font: the labels keep
  // the title list's line height whatever face the system gives the font.
  for (HWND list : {list_, labels_, matchList_}) SendMessageW(list, LB_SETITEMHEIGHT, 0, layout_.lineHeight);
}

void Win32ClipWindow::PlaceControls() {
  Place(list_, layout_.titles);
  Place(matchList_, layout_.titles);
  // The labels start at the list's first line, inside its border, whose
  // width the system decides.
  RECT inside{};
  GetClientRect(list_, &inside);
  MapWindowPoints(list_, window_, reinterpret_cast<POINT*>(&inside), 2);
  Place(labels_,
        Rect{inside.left, inside.top, inside.left + layout_.labels.width(), inside.top + layout_.labels.height()});
  Place(searchLine_, layout_.searchLine);
  Place(searchStatus_, layout_.searchCount);
  Place(notice_, layout_.notice);
  const HWND buttons[4] = {runToTopButton_, crLfLfButton_, crLfButton_, hideButton_};
  for (int i = 0; i < 4; ++i) Place(buttons[i], layout_.buttons[i]);
}

void Win32ClipWindow::ApplyDpi(int dpi, const RECT& suggested) {
  if (hint_ != nullptr) hint_->Hide();
  const ClipWindowLayout before = layout_;
  layout_ = LayOutClipWindow(dpi);
  const int top = static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0));
  const int matchesTop = static_cast<int>(SendMessageW(matchList_, LB_GETTOPINDEX, 0, 0));
  // The old fonts go once every control has the new ones.
  const OwnedFont oldListFont = listFont_->SetDpi(dpi);
  const OwnedFont oldButtonFont = std::exchange(buttonFont_, MakeFont("MS Sans Serif", layout_.fontHeight, FW_BOLD));
  if (titles_ != nullptr) titles_->SetDpi(dpi);
  if (hint_ != nullptr) hint_->SetFont(listFont_->font(), dpi);
  SetFonts();
  // Where the status stood (beside the line, or on the empty list) it stays.
  RECT status{};
  GetWindowRect(searchStatus_, &status);
  MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&status), 2);
  const bool statusOnList = status.top >= before.noMatch.top;
  PlaceControls();
  Place(searchStatus_, statusOnList ? layout_.noMatch : layout_.searchCount);
  SendMessageW(list_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageW(matchList_, LB_SETTOPINDEX, static_cast<WPARAM>(matchesTop), 0);
  SendMessageW(labels_, LB_SETTOPINDEX, static_cast<WPARAM>(top % kLabelsPerPage), 0);
  // One move to the new size, the controls already in their new places:
  // the window is never drawn at the old size with the new layout.
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool Win32ClipWindow::CreateSearch() {
  // Over the title list, where it lies, and as it looks; hidden until a
  // search opens. Unicode windows, as the title list is.
  matchList_ = MakeChild(
      instance_, window_, WS_EX_CLIENTEDGE, L"LISTBOX",
      WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, kMatchListId);
  searchLine_ = MakeChild(instance_, window_, 0, L"EDIT", WS_BORDER | ES_AUTOHSCROLL, kSearchLineId);
  searchStatus_ = MakeChild(instance_, window_, 0, L"STATIC", SS_LEFT | SS_NOPREFIX, kSearchStatusId);
  notice_ = MakeChild(instance_, window_, 0, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY | SS_CENTERIMAGE, kNoticeId);
  if (matchList_ == nullptr || searchLine_ == nullptr || searchStatus_ == nullptr || notice_ == nullptr) return false;
  SetWindowLongPtrW(matchList_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(matchList_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ClipWindow::ListProc));
  // NOTE: the system hands another program (a screen reader) a row's text
  // only from a list whose style says it holds strings; a list of no data
  // may not be made with that style. Set afterwards, the list still holds
  // no data, and its rows' texts are answered here (Win32MatchList).
  SetWindowLongPtrW(matchList_, GWL_STYLE, GetWindowLongPtrW(matchList_, GWL_STYLE) | LBS_HASSTRINGS);
  SetWindowLongPtrW(searchLine_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(searchLine_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ClipWindow::SearchLineProc)));
  // The labels lie over the matches as over the titles.
  SetWindowPos(labels_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

LRESULT CALLBACK Win32ClipWindow::SearchLineProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32ClipWindow*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  switch (message) {
    case WM_CHAR:
      if (wParam == '\r' || wParam == 0x1B) return 0;
      break;
    case WM_IME_STARTCOMPOSITION:
      self->composing_ = true;
      break;
    case WM_IME_ENDCOMPOSITION: {
      const LRESULT result = CallWindowProcW(self->editProc_, edit, message, wParam, lParam);
      self->composing_ = false;
      self->OnSearchLineChange();  // what the composition left in the line
      return result;
    }
    default:
      break;
  }
  return CallWindowProcW(self->editProc_, edit, message, wParam, lParam);
}

void Win32ClipWindow::OnSearchLineChange() {
  if (composing_ || !IsWindowVisible(searchLine_)) return;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(searchLine_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(searchLine_, text.data(), static_cast<int>(text.size()))));
  const std::string utf8 = Utf8Of(text);
  Run([&] { events_->OnSearchTextChange(utf8); });
}

bool Win32ClipWindow::InstallKeyPreview() {
  keyPreview_.reset(SetWindowsHookExA(WH_GETMESSAGE, &KeyPreviewHook, nullptr, GetCurrentThreadId()));
  if (keyPreview_ == nullptr) return false;
  previewing_ = this;
  return true;
}

LRESULT CALLBACK Win32ClipWindow::KeyPreviewHook(int code, WPARAM wParam, LPARAM lParam) {
  // Only a message taken off the queue: a loop that peeks first sees it twice.
  if (code == HC_ACTION && wParam == PM_REMOVE && previewing_ != nullptr) {
    previewing_->PreviewKey(*reinterpret_cast<const MSG*>(lParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Win32ClipWindow::PreviewKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return;
  // The Ctrl+V of a paste is meant for the application below the window.
  if (static_cast<ULONG_PTR>(GetMessageExtraInfo()) == kOwnKeysStamp) return;
  // Handled next, before the input that follows it: posted messages come
  // off the queue first.
  PostMessageA(window_, kPreviewedKeyMessage, message.wParam, static_cast<LPARAM>(ShiftState()));
}

bool Win32ClipWindow::CreateWindows() {
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
  // Made at the system's DPI; Create lays it out at its screen's.
  layout_ = LayOutClipWindow(SystemDpi());
  window_.reset(CreateWindowExA(0, kWindowClass, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, layout_.width,
                                layout_.height, owner_, nullptr, instance_, this));
  return window_ != nullptr;
}

bool Win32ClipWindow::CreateLists() {
  // Unicode windows, so that a clip's exact title keeps every character
  // (and other programs read it so); ANSI lines reach them converted.
  list_ = MakeChild(instance_, window_, WS_EX_CLIENTEDGE, L"LISTBOX",
                    WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_HASSTRINGS |
                        LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                    kTitleListId);
  labels_ = MakeChild(instance_, window_, 0, L"LISTBOX", WS_VISIBLE | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kLabelListId);
  if (list_ == nullptr || labels_ == nullptr) return false;
  for (int round = 0; round < 72 / kLabelsPerPage; ++round) {
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
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32ClipWindow::ListProc)));
  }
  // The labels lie over the list's left edge.
  SetWindowPos(labels_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

bool Win32ClipWindow::CreateButtons() {
  // The three up arrows are drawn (DrawUpArrows), the same on every system,
  // rather than taken from a Symbol font that may be missing or differ.
  runToTopButton_ = MakeButton(kRunToTopButtonId, "\xAD\xAD\xAD");
  crLfLfButton_ = MakeButton(kCrLfLfButtonId, "+CR");
  crLfButton_ = MakeButton(kCrLfButtonId, "+cR");
  hideButton_ = MakeButton(kHideButtonId, "  ");
  return runToTopButton_ && crLfButton_ && crLfLfButton_ && hideButton_;
}

void Win32ClipWindow::ShowAtStart() {
  CentreOnScreen(window_);  // the one time: afterwards it stays where it is put
  // NOTE: placed without activation, shown, and only then activated: the
  // first activation puts the window away again, which neither a hidden
  // window nor one still inside its own showing would notice.
  ShowWindow(window_, SW_SHOWNA);
  SetForegroundWindow(window_);
}

LRESULT CALLBACK Win32ClipWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<Win32ClipWindow*>(create->lpCreateParams)->window_.reset(window);
  }
  auto* self = reinterpret_cast<Win32ClipWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    // Handlers report their own failures; nothing may unwind into the system.
    return 0;
  }
}

LRESULT Win32ClipWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (OnCommandMessage(wParam, lParam)) return 0;
      break;
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlID == static_cast<UINT>(kTitleListId) || measure->CtlID == static_cast<UINT>(kMatchListId)) {
        measure->itemHeight = static_cast<UINT>(layout_.lineHeight);
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
      if (draw->CtlID == static_cast<UINT>(kMatchListId) && matches_ != nullptr) {
        matches_->Draw(*draw);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORLISTBOX:
      return ListColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLOREDIT:  // the search line looks like the list it searches
    case WM_CTLCOLORSTATIC: {
      // The status beside the line stands on the panel, or, saying that no
      // clip matches, on the empty list.
      const auto control = reinterpret_cast<HWND>(lParam);
      RECT place{};
      GetWindowRect(control, &place);
      MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
      const bool onList = control == searchLine_ || place.top >= layout_.noMatch.top;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, onList ? kListColour : kPanelColour);
      SetTextColor(dc, control == searchLine_ ? kNavy : kMaroon);
      return reinterpret_cast<LRESULT>(onList ? listBrush_.get() : panelBrush_.get());
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Run([this] { events_->OnActivate(); });
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnMouseDown(message, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() == window_) ReleaseCapture();
      // The title picture pressed and let go where it was: not a drag but
      // the click that opens the search line there.
      const DWORD at = GetMessagePos();
      const POINT released{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
      if (dragOnImage_ && released.x == pressedAt_.x && released.y == pressedAt_.y) {
        Run([this] { events_->OnTitlePictureClick(); });
      }
      dragOnImage_ = false;
      return 0;
    }
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
      if (wParam == FALSE) Run([this] { events_->OnDeactivate(); });
      break;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case kShareChangeMessage:
      Run([this] { events_->OnShareCheck(); });
      return 0;
    case kPreviewedKeyMessage:
      Run([&] { events_->OnKeyDown(static_cast<unsigned>(wParam), static_cast<unsigned>(lParam)); });
      return 0;
    case WM_DISPLAYCHANGE:
      KeepOnScreen(window_);  // a screen gone or smaller: back onto one that is there
      break;
    case WM_DPICHANGED:  // moved to a screen of another DPI, or its scaling changed
      ApplyDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_QUERYENDSESSION:
      return events_ != nullptr ? events_->OnQueryEndSession() : TRUE;
    case WM_ENDSESSION:
      if (events_ != nullptr) events_->OnEndSession(wParam != FALSE);
      return 0;
    case WM_CLOSE:
      // What could not be saved keeps the program open if the user says so.
      // Destroyed here on purpose, not left to window_'s owner: WM_DESTROY
      // ends the message loop now. window_ then finds it gone at the end.
      if (events_ == nullptr || events_->OnClose()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

// A menu command, a button's click or a list's selection; true when handled.
bool Win32ClipWindow::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
  if (lParam == 0) {  // a menu command
    OnCommand(LOWORD(wParam));
    return true;
  }
  // NOTE: an owner-drawn button reports the second click of a double
  // click as BN_DOUBLECLICKED only; each click must toggle.
  if ((HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED) && LOWORD(wParam) >= kRunToTopButtonId &&
      LOWORD(wParam) <= kHideButtonId) {
    OnButton(LOWORD(wParam));
    return true;
  }
  if (HIWORD(wParam) == STN_CLICKED && LOWORD(wParam) == kNoticeId) {
    Run([this] { events_->OnNoticeClick(); });
    return true;
  }
  if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == kSearchLineId) {
    OnSearchLineChange();
    return true;
  }
  if (HIWORD(wParam) == LBN_SELCHANGE) {  // user input only, never LB_SETCURSEL
    if (LOWORD(wParam) == kMatchListId) {
      const int row = static_cast<int>(SendMessageW(matchList_, LB_GETCURSEL, 0, 0));
      if (pressing_) {
        matchClickPending_ = true;
      } else {
        Run([&] { events_->OnMatchClick(row); });
      }
    }
    if (LOWORD(wParam) == kTitleListId) {
      if (pressing_) {
        clickPending_ = true;
      } else {
        Run([this] { events_->OnListClick(); });
      }
    }
    if (LOWORD(wParam) == kLabelListId) Run([this] { events_->OnLabelClick(); });
    return true;
  }
  return false;
}

LRESULT Win32ClipWindow::ListColours(HWND list, HDC dc) {
  const bool isLabels = list == labels_;
  SetBkColor(dc, isLabels ? kPanelColour : kListColour);
  SetTextColor(dc, kNavy);
  return reinterpret_cast<LRESULT>(isLabels ? panelBrush_.get() : listBrush_.get());
}

void Win32ClipWindow::OnMouseDown(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = LowX(lParam);
  const int y = HighY(lParam);
  const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                             : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                         : MouseButton::Middle;
  SetCapture(window_);  // the window moves under the pointer while dragged
  const POINT at{x, y};
  const RECT picture{layout_.titlePicture.left, layout_.titlePicture.top, layout_.titlePicture.right,
                     layout_.titlePicture.bottom};
  dragOnImage_ = PtInRect(&picture, at) != FALSE;
  const DWORD screen = GetMessagePos();
  pressedAt_ = POINT{static_cast<short>(LOWORD(screen)), static_cast<short>(HIWORD(screen))};
  if (dragOnImage_) {
    Run([&] { events_->OnTitlePictureDragStart(button, ShiftState(wParam), x - picture.left, y - picture.top); });
  } else {
    Run([&] { events_->OnDragStart(button, ShiftState(wParam), x, y); });
  }
}

void Win32ClipWindow::OnMouseMove(WPARAM wParam) {
  // The pointer's screen place, measured against where the window is
  // now: a move queued before a drag step moved the window carries a
  // position relative to the old place, and would move it again.
  const DWORD at = GetMessagePos();
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ScreenToClient(window_, &point);
  const int x = point.x;
  const int y = point.y;
  if (dragOnImage_) {
    const Rect& picture = layout_.titlePicture;
    Run([&] { events_->OnTitlePictureDragMove(ShiftState(wParam), x - picture.left, y - picture.top); });
  } else {
    Run([&] { events_->OnDragMove(ShiftState(wParam), x, y); });
  }
}

void Win32ClipWindow::OnTimer(WPARAM id) {
  if (id == static_cast<WPARAM>(kHintWatchdogTimer)) Run([this] { events_->OnHintWatchdogTimer(); });
  if (id == static_cast<WPARAM>(kAutosaveTimer)) Run([this] { events_->OnAutosaveTimer(); });
  if (id == static_cast<WPARAM>(kLabelFollowTimer)) Run([this] { events_->OnLabelFollowTimer(); });
  if (id == static_cast<WPARAM>(kShareCheckTimer)) Run([this] { events_->OnShareCheck(); });
}

}  // namespace solvane::win32
