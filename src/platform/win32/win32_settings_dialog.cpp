#include "platform/win32/win32_settings_dialog.h"

#include <cstring>
#include <iterator>
#include <utility>

#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_screens.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

namespace {

constexpr COLORREF kBackground = RGB(231, 223, 173);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);
// The controls' ids, which other programs (and the tests) use too.
enum : int {
  kAutosaveCheck = 201,
  kPromptClearCheck = 202,
  kPromptQuitCheck = 203,
  kHotkeyCombo = 204,
  kPasteDelayCombo = 205,
  kOkButton = 206,
  kShareFolderEdit = 207,
  kBrowseButton = 208,
  kPassphraseEdit = 209,
};
// Made after the settings' controls, in this order: the folder's label,
// field and browse button, the passphrase's label and field.
constexpr std::size_t kSharingControls = 5;

// Each setting's control, in the order they are made and as the layout
// places them: the check boxes, the drop-downs' labels, then the drop-downs.
struct Placed {
  Setting setting;
  int id;
};
constexpr Placed kCheckBoxes[] = {
    {Setting::kAutosave, kAutosaveCheck},
    {Setting::kPromptClear, kPromptClearCheck},
    {Setting::kPromptQuit, kPromptQuitCheck},
};
constexpr Placed kDropDownLabels[] = {{Setting::kHotkey, -1}, {Setting::kPasteDelay, -1}};
constexpr Placed kDropDowns[] = {{Setting::kHotkey, kHotkeyCombo}, {Setting::kPasteDelay, kPasteDelayCombo}};

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring WideText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The folder dialog opens on the folder the field names, when it names one.
int CALLBACK StartInFolder(HWND browser, UINT message, LPARAM /*param*/, LPARAM folder) {
  if (message == BFFM_INITIALIZED && *reinterpret_cast<const wchar_t*>(folder) != L'\0') {
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, folder);
  }
  return 0;
}

// The text of a combo box's selected line; none when no line is selected.
bool SelectedText(HWND combo, std::string& text) {
  const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (index < 0) return false;
  text.assign(static_cast<std::size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, index, 0)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
  return true;
}

}  // namespace

Win32SettingsDialog::Win32SettingsDialog(HINSTANCE instance, SettingsDialogEvents& dialog, Pointer& pointer)
    : instance_(instance), dialog_(dialog), pointer_(pointer) {}

Win32SettingsDialog::~Win32SettingsDialog() {
  dialog_.set_window(nullptr);
  // The window's last messages must not reach this half-destroyed object,
  // nor the button's reach a button object that may be gone already.
  ok_ = nullptr;
  if (window_ != nullptr) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  window_.reset();  // before the canvas that draws in it
}

HWND Win32SettingsDialog::Child(const char* className, const char* text, DWORD style, int id) {
  // Placed, and given its font, with the others (LayOut).
  HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, this);
  if (child != nullptr) controls_.push_back(child);
  return child;
}

HWND Win32SettingsDialog::TextField(DWORD style, int id) {
  // NOTE: a wide edit, so that it holds characters the ANSI code page has not.
  HWND field =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | style, 0, 0,
                      0, 0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (field != nullptr) controls_.push_back(field);
  return field;
}

bool Win32SettingsDialog::Create(HWND owner, Win32Dialogs& dialogs, HintWindow& hint) {
  dialogs_ = &dialogs;
  hint_ = &hint;
  background_.reset(CreateSolidBrush(kBackground));
  if (!RegisterClasses()) return false;

  // A caption bar but no system menu: no title-bar buttons at all.
  // WM_NCCREATE has already put the handle in window_; this keeps it.
  layout_ = LayOutSettings(SystemDpi());
  window_.reset(CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, "TForm2", "Settings", WS_POPUP | WS_CAPTION, 433,
                                254, layout_.width, layout_.height, owner, nullptr, instance_, this));
  if (window_ == nullptr || !CreateControls()) return false;
  canvas_ = std::make_unique<Win32WindowCanvas>(button_, buttonFont_);
  LayOut(WindowDpi(window_));
  SetWindowPos(window_, nullptr, 0, 0, layout_.width, layout_.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  dialog_.set_window(this);
  return true;
}

void Win32SettingsDialog::LayOut(int dpi) {
  layout_ = LayOutSettings(dpi);
  // The old fonts go once no control uses them.
  const OwnedFont oldFont = std::exchange(font_, MakeFont("MS Sans Serif", layout_.fontHeight));
  const OwnedFont oldButtonFont = std::exchange(buttonFont_, MakeFont("Arial", layout_.fontHeight));
  for (HWND control : controls_) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  if (canvas_ != nullptr) canvas_->set_font(buttonFont_);
  const Rect* places[] = {&layout_.checkBoxes[0],     &layout_.checkBoxes[1],     &layout_.checkBoxes[2],
                          &layout_.dropDownLabels[0], &layout_.dropDownLabels[1], &layout_.dropDowns[0],
                          &layout_.dropDowns[1],      &layout_.shareLabel,        &layout_.shareFolder,
                          &layout_.shareBrowse,       &layout_.passphraseLabel,   &layout_.passphrase};
  static_assert(std::size(places) ==
                std::size(kCheckBoxes) + std::size(kDropDownLabels) + std::size(kDropDowns) + kSharingControls);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const Rect& at = *places[i];
    SetWindowPos(controls_[i], nullptr, at.left, at.top, at.width(), at.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  const Rect& ok = layout_.ok;
  SetWindowPos(button_, nullptr, ok.left, ok.top, ok.width(), ok.height(), SWP_NOZORDER | SWP_NOACTIVATE);
  if (ok_ != nullptr) ok_->Resize(ok.width(), ok.height());
}

bool Win32SettingsDialog::RegisterClasses() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = background_;
  windowClass.lpszClassName = "TForm2";
  if (!RegisterClassA(&windowClass)) return false;
  WNDCLASSA buttonClass{};
  buttonClass.lpfnWndProc = &ButtonProc;
  buttonClass.hInstance = instance_;
  buttonClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  buttonClass.lpszClassName = "TEncartaButton";
  return RegisterClassA(&buttonClass) != 0;
}

bool Win32SettingsDialog::CreateControls() {
  const SettingsTable& table = dialog_.Table();
  for (const Placed& box : kCheckBoxes) {
    const SettingRow& row = table.Row(box.setting);
    HWND check = Child("BUTTON", row.caption, BS_AUTOCHECKBOX | WS_TABSTOP, box.id);
    if (row.hint == nullptr) continue;
    if (check == nullptr) return false;
    // Subclassed, to show its hint while the pointer is on it.
    hinted_ = row.hint;
    SetWindowLongPtrA(check, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    checkBoxProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32SettingsDialog::CheckBoxProc)));
  }
  for (const Placed& label : kDropDownLabels) {
    Child("STATIC", table.Row(label.setting).caption, 0, label.id);
  }
  for (const Placed& drop : kDropDowns) {
    HWND combo = Child("COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL, drop.id);
    for (const char* text : table.Row(drop.setting).choices) {
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
  }
  Child("STATIC", table.Row(Setting::kShareFolder).caption, 0, -1);
  // A path fits in MAX_PATH characters, and then in the settings file.
  SendMessageW(TextField(0, kShareFolderEdit), EM_LIMITTEXT, MAX_PATH - 1, 0);
  Child("BUTTON", table.browseCaption, BS_PUSHBUTTON | WS_TABSTOP, kBrowseButton);
  Child("STATIC", table.passphraseLabel, 0, -1);
  TextField(ES_PASSWORD, kPassphraseEdit);
  button_ = CreateWindowExA(0, "TEncartaButton", table.okCaption, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOkButton)), instance_, this);
  return button_ != nullptr && controls_.size() == std::size(kCheckBoxes) + std::size(kDropDownLabels) +
                                                       std::size(kDropDowns) + kSharingControls;
}

void Win32SettingsDialog::OnOkClick() {
  ReadValues();
  if (errors_ != nullptr) RunHandler(*errors_, [this] { dialog_.OnOk(); });
}

void Win32SettingsDialog::ShowValues() {
  // The fields report each text set here: not until all show the values.
  const bool wasFilling = std::exchange(filling_, true);
  SettingsControls values = dialog_.Controls();
  for (const Placed& box : kCheckBoxes) {
    CheckDlgButton(window_, box.id, values.Checked(box.setting) ? BST_CHECKED : BST_UNCHECKED);
  }
  for (const Placed& drop : kDropDowns) SetDlgItemTextA(window_, drop.id, values.Text(drop.setting).c_str());
  SetDlgItemTextW(window_, kShareFolderEdit, Widen(values.shareFolder).c_str());
  SetDlgItemTextW(window_, kPassphraseEdit, Widen(values.sharePassphrase).c_str());
  filling_ = wasFilling;
}

void Win32SettingsDialog::ReadValues() {
  SettingsControls values;
  for (const Placed& box : kCheckBoxes) {
    values.Checked(box.setting) = IsDlgButtonChecked(window_, box.id) == BST_CHECKED;
  }
  for (const Placed& drop : kDropDowns) values.Text(drop.setting) = WindowText(GetDlgItem(window_, drop.id));
  values.shareFolder = Utf8Of(WideText(GetDlgItem(window_, kShareFolderEdit)));
  values.sharePassphrase = Utf8Of(WideText(GetDlgItem(window_, kPassphraseEdit)));
  dialog_.SetControls(values);
}

void Win32SettingsDialog::ShowModal() {
  if (open_) return BringToFront();  // one dialog, one modal loop
  ShowValues();
  if (!placed_) {  // centred the first time in a run, then where the user left it
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - layout_.width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - layout_.height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    placed_ = true;
  }
  KeepOnScreen(window_);
  open_ = true;
  BringToFront();
  // A box of the program's (a bad paste delay, a hotkey that does not
  // work) would otherwise open under this topmost dialog.
  struct BoxesOnTop {
    Win32Dialogs* dialogs;
    HWND previous;
    ~BoxesOnTop() { dialogs->set_owner(previous); }
  } boxesOnTop{dialogs_, dialogs_->owner()};
  dialogs_->set_owner(window_);
  RunMessageLoop();
}

void Win32SettingsDialog::BringToFront() {
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
}

void Win32SettingsDialog::RunMessageLoop() {
  MSG message;
  while (open_) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      // The program is ending: leave the quit for the main loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      Close();
      return;
    }
    if (!IsDialogMessageW(window_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void Win32SettingsDialog::Close() {
  // The passphrase's field holds no more than the logic does: after an OK,
  // nothing.
  if (dialog_.Controls().sharePassphrase.empty()) {
    const bool wasFilling = std::exchange(filling_, true);
    SetDlgItemTextW(window_, kPassphraseEdit, L"");
    filling_ = wasFilling;
  }
  open_ = false;
  if (hinting_) hint_->Hide();
  hinting_ = false;
  ShowWindow(window_, SW_HIDE);
}

// The check box with a hint shows it while the pointer is on it.
LRESULT CALLBACK Win32SettingsDialog::CheckBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32SettingsDialog*>(GetWindowLongPtrA(box, GWLP_USERDATA));
  if (message == WM_MOUSEMOVE && !self->hinting_) {
    self->hinting_ = true;
    self->hint_->Show(self->hinted_);
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, box, 0};
    TrackMouseEvent(&leave);
  } else if (message == WM_MOUSELEAVE && self->hinting_) {
    self->hinting_ = false;
    self->hint_->Hide();
  }
  return CallWindowProcA(self->checkBoxProc_, box, message, wParam, lParam);
}

Placement Win32SettingsDialog::Bounds() const {
  RECT r{};
  GetWindowRect(window_, &r);
  return Placement{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Win32SettingsDialog::SetBounds(const Placement& bounds) {
  const Placement now = Bounds();
  // A place stored on another desk, on a screen no longer there: not taken.
  const Rect wanted{bounds.left, bounds.top, bounds.left + now.width, bounds.top + now.height};
  if (solvane::KeepOnScreen(wanted, WorkAreas()) != wanted) return;
  SetWindowPos(window_, nullptr, bounds.left, bounds.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SettingsDialog::PaintBanner(HDC dc) {
  RECT banner{layout_.banner.left, layout_.banner.top, layout_.banner.right, layout_.banner.bottom};
  {
    OwnedBrush blue(CreateSolidBrush(kBlue));
    FillRect(dc, &banner, blue);
  }
  DrawEdge(dc, &banner, BDR_SUNKENINNER, BF_RECT);
  SelectedObject font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kYellow);
  const SettingsTable& table = dialog_.Table();
  const Point title = layout_.bannerTitle, maker = layout_.bannerMaker;
  TextOutA(dc, title.x, title.y, table.bannerTitle, static_cast<int>(std::strlen(table.bannerTitle)));
  TextOutA(dc, maker.x, maker.y, table.bannerMaker, static_cast<int>(std::strlen(table.bannerMaker)));
}

LRESULT CALLBACK Win32SettingsDialog::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32SettingsDialog*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(window);
  }
  auto* self = reinterpret_cast<Win32SettingsDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->Handle(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT Win32SettingsDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      PaintBanner(dc);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, kBackground);
      SetTextColor(dc, kNavy);
      return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      // The drop-downs' texts are navy like the rest, on the usual white.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      SetTextColor(dc, kNavy);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) dialog_.OnActivate(pointer_);
      break;
    case WM_COMMAND:
      OnControlChange(wParam);
      return 0;
    case WM_CLOSE:  // no close box, and no key closes it: only OK
      return 0;
    case WM_DISPLAYCHANGE:
      KeepOnScreen(window_);
      break;
    case WM_DPICHANGED: {  // on a screen of another DPI: laid out again there, at the place suggested
      if (hinting_) hint_->Hide();
      hinting_ = false;
      LayOut(HIWORD(wParam));
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

// The controls are the settings: every change reaches the dialog at once,
// so it is kept at program end whether or not OK was pressed.
void Win32SettingsDialog::OnControlChange(WPARAM wParam) {
  const int id = LOWORD(wParam);
  if (filling_) return;
  if (id == kShareFolderEdit || id == kPassphraseEdit) {
    if (HIWORD(wParam) == EN_CHANGE) ReadValues();
  } else if (id == kBrowseButton) {
    if (HIWORD(wParam) == BN_CLICKED) BrowseForFolder();
  } else if (HIWORD(wParam) == CBN_SELCHANGE && (id == kHotkeyCombo || id == kPasteDelayCombo)) {
    std::string text;
    if (!SelectedText(GetDlgItem(window_, id), text)) return;
    SettingsControls values = dialog_.Controls();
    values.Text(id == kHotkeyCombo ? Setting::kHotkey : Setting::kPasteDelay) = text;
    dialog_.SetControls(values);
  } else if (id >= kAutosaveCheck && id <= kPasteDelayCombo) {
    ReadValues();
  }
}

void Win32SettingsDialog::BrowseForFolder() {
  // NOTE: the new-style folder dialog needs COM, in a single-threaded
  // apartment, on the thread that shows it.
  struct Com {
    bool started = SUCCEEDED(CoInitialize(nullptr));
    ~Com() {
      if (started) CoUninitialize();
    }
  } com;
  const std::wstring current = WideText(GetDlgItem(window_, kShareFolderEdit));
  const std::wstring title = Widen(dialog_.Table().Row(Setting::kShareFolder).caption);
  BROWSEINFOW browse{};
  browse.hwndOwner = window_;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  browse.lpfn = &StartInFolder;
  browse.lParam = reinterpret_cast<LPARAM>(current.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
  if (chosen == nullptr) return;  // cancelled
  wchar_t path[MAX_PATH] = {};
  const bool isFolder = SHGetPathFromIDListW(chosen, path) != FALSE;
  CoTaskMemFree(chosen);  // the shell's list is the caller's to free
  // The field's change reports it, as the user's typing does.
  if (isFolder) SetDlgItemTextW(window_, kShareFolderEdit, path);
}

LRESULT CALLBACK Win32SettingsDialog::ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32SettingsDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || self->ok_ == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->HandleButton(message, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT Win32SettingsDialog::HandleButton(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(button_, &paint);
      EndPaint(button_, &paint);
      ok_->Paint();  // the system's repaint is always the normal look
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!tracking_) {
        // NOTE: the system reports the leaving only to those who ask.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button_, 0};
        TrackMouseEvent(&track);
        tracking_ = true;
        ok_->MouseEnter();
      }
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      ok_->MouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(button_);
      pressed_ = true;
      ok_->MouseDown(MouseButton::Left, kShiftLeft, x, y);
      return 0;
    case WM_LBUTTONUP: {
      ReleaseCapture();
      POINT at{};
      GetCursorPos(&at);
      const bool over = WindowFromPoint(at) == button_;
      if (pressed_ && over) ok_->Click();
      pressed_ = false;
      if (IsWindow(button_)) ok_->MouseUp(MouseButton::Left, kShiftLeft, x, y, over);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(button_, message, wParam, lParam);
}

}  // namespace solvane::win32
