#include "app/main_window.h"

#include "app/command_ids.h"

namespace solvane::app {

namespace {
constexpr char kWindowClass[] = "TForm1";
constexpr char kCaption[] = "Solvane Clips";
constexpr COLORREF kListColour = RGB(255, 255, 204);
}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {}

MainWindow::~MainWindow() {
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool MainWindow::Create(HFONT listFont) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = CreateSolidBrush(RGB(231, 223, 173));  // owned by the class
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassA(&windowClass)) return false;

  window_ = CreateWindowExA(0, kWindowClass, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0, 600, 500, nullptr,
                            nullptr, instance_, this);
  if (window_ == nullptr) return false;
  list_ = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_HASSTRINGS |
                              LBS_NOINTEGRALHEIGHT,
                          8, 18, 233, 473, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTitleListId)),
                          instance_, nullptr);
  if (list_ == nullptr) return false;
  SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont), FALSE);
  return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
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
      if (lParam == 0) {  // a menu command, not a control notice
        OnCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORLISTBOX: {
      static HBRUSH listBrush = CreateSolidBrush(kListColour);  // lives as long as the program
      SetBkColor(reinterpret_cast<HDC>(wParam), kListColour);
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 128));
      return reinterpret_cast<LRESULT>(listBrush);
    }
    case WM_TIMER:
      if (form_ != nullptr && wParam == static_cast<WPARAM>(kTimer2)) form_->HandleEvent([this] { form_->Timer2Timer(); });
      return 0;
    case WM_QUERYENDSESSION:
      return form_ != nullptr ? form_->WMQueryEndSession() : TRUE;
    case WM_CLOSE:
      // A history that could not be saved keeps the program open.
      if (form_ == nullptr || form_->FormClose()) DestroyWindow(window_);
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
  if (form_ == nullptr) return;
  switch (id) {
    case kCmdCaching:
      form_->HandleEvent([this] { form_->Caching1Click(); });
      break;
    case kCmdSaveClips:
      form_->HandleEvent([this] { form_->SaveClips1Click(); });
      break;
    case kCmdClearClips:
      form_->HandleEvent([this] { form_->ClearClips1Click(); });
      break;
    case kCmdQuit:
      form_->HandleEvent([this] { form_->Quit1Click(); });
      break;
    default:
      break;
  }
}

}  // namespace solvane::app
