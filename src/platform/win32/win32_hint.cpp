#include "platform/win32/win32_hint.h"

namespace solvane::win32 {

namespace {
constexpr COLORREF kHintColour = RGB(255, 255, 0);
constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kHidePause = 30000;
constexpr int kMargin = 2;
}  // namespace

HintWindow::HintWindow(HINSTANCE instance, HFONT font) : font_(font), yellow_(CreateSolidBrush(kHintColour)) {
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(instance, "THintWindow", &windowClass)) {
    windowClass.style = CS_SAVEBITS;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "THintWindow";
    RegisterClassA(&windowClass);
  }
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "THintWindow", "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                            nullptr, nullptr, instance, this);
}

HintWindow::~HintWindow() {
  if (window_ != nullptr) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  DeleteObject(yellow_);
}

void HintWindow::Show(const std::string& text) {
  text_ = text;
  HDC dc = GetDC(window_);
  HGDIOBJ old = SelectObject(dc, font_);
  RECT size{0, 0, 600, 0};
  DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &size, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  POINT at{};
  GetCursorPos(&at);
  SetWindowPos(window_, HWND_TOPMOST, at.x, at.y + 20, size.right + 2 * kMargin + 2, size.bottom + 2 * kMargin + 2,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(window_, nullptr, TRUE);
  SetTimer(window_, kHideTimer, kHidePause, nullptr);
}

void HintWindow::Hide() {
  KillTimer(window_, kHideTimer);
  ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK HintWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<HintWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area{};
      GetClientRect(window, &area);
      FillRect(dc, &area, self->yellow_);
      InflateRect(&area, -kMargin, -kMargin);
      HGDIOBJ old = SelectObject(dc, self->font_);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      DrawTextA(dc, self->text_.c_str(), static_cast<int>(self->text_.size()), &area, DT_NOPREFIX | DT_EXPANDTABS);
      SelectObject(dc, old);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kHideTimer) self->Hide();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace solvane::win32
