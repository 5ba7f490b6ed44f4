#include "platform/win32/win32_hint.h"

#include <algorithm>
#include <string_view>

#include "platform/components/hint_placement.h"
#include "platform/dpi.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

namespace {
constexpr COLORREF kHintColour = RGB(255, 255, 0);
constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kHidePause = 30000;
// At 96 DPI: the margin inside the 1-pixel border, and the gap below the
// pointer's arrow.
constexpr int kMargin = 2;
constexpr int kPointerGap = 20;
// The margins on both sides and the border.
int Frame(DpiScale s) { return 2 * s(kMargin) + 2; }
// Tab stops every 8 average character widths, as DT_EXPANDTABS sets them.
constexpr int kTabStop = 8;

// Each character's advance in `line` as the font selected into `dc` gives
// it, a tab reaching the next tab stop; the sum is the line's width.
// `line` in UTF-16 units, one advance each.
std::vector<INT> Advances(HDC dc, std::wstring_view line, int tabWidth) {
  std::vector<INT> advances(line.size());
  if (line.empty()) return advances;
  std::vector<INT> ends(line.size());
  SIZE size{};
  GetTextExtentExPointW(dc, line.data(), static_cast<int>(line.size()), 0, nullptr, ends.data(), &size);
  int x = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    if (line[i] == L'\t') advances[i] = (x / tabWidth + 1) * tabWidth - x;
    x += advances[i];
  }
  return advances;
}

int Sum(const std::vector<INT>& advances) {
  int sum = 0;
  for (INT advance : advances) sum += advance;
  return sum;
}
}  // namespace

HintWindow::HintWindow(HINSTANCE instance, HFONT font, int dpi)
    : font_(font), dpi_(dpi), yellow_(CreateSolidBrush(kHintColour)) {
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(instance, "THintWindow", &windowClass)) {
    windowClass.style = CS_SAVEBITS;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "THintWindow";
    RegisterClassA(&windowClass);
  }
  window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "THintWindow", "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                                nullptr, nullptr, instance, this));
}

HintWindow::~HintWindow() {
  // The window's last messages must not reach this half-destroyed object.
  if (window_ != nullptr) SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  window_.reset();
}

void HintWindow::Show(const std::string& text) {
  POINT at{};
  GetCursorPos(&at);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  Rect work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (GetMonitorInfoA(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor)) {
    work = Rect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
  }

  const DpiScale s(dpi_);
  const int frame = Frame(s);
  int width = 0;
  {  // the DC, and the font in it, only for measuring
    WindowDc dc(window_);
    SelectedObject font(dc, font_);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    lineHeight_ = std::max<int>(metrics.tmHeight, 1);
    const int tabWidth = std::max<int>(metrics.tmAveCharWidth * kTabStop, 1);
    const std::vector<std::string> fitted =
        FitHintText(text, work.width() - frame, (work.height() - frame) / lineHeight_,
                    [&](std::string_view line) { return Sum(Advances(dc, Widen(line), tabWidth)); });
    lines_.clear();
    advances_.clear();
    for (const std::string& utf8 : fitted) {
      std::wstring line = Widen(utf8);
      advances_.push_back(Advances(dc, line, tabWidth));
      width = std::max(width, Sum(advances_.back()));
      std::replace(line.begin(), line.end(), L'\t', L' ');  // the advance makes the gap
      lines_.push_back(std::move(line));
    }
  }

  const int height = static_cast<int>(lines_.size()) * lineHeight_;
  const Rect place = PlaceHint(at.x, at.y, width + frame, height + frame, work, s(kPointerGap));
  SetWindowPos(window_, HWND_TOPMOST, place.left, place.top, place.width(), place.height(),
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
      const int margin = DpiScale(self->dpi_)(kMargin);
      InflateRect(&area, -margin, -margin);
      {
        SelectedObject font(dc, self->font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        // NOTE: Wine draws a TrueType face wider than GetTextExtentExPoint
        // measures it, so DrawText ran a line cut to fit past the hint's edge.
        // Each line is drawn at the advances it was measured with, which on
        // Windows are the ones DrawText uses anyway.
        for (std::size_t i = 0; i < self->lines_.size(); ++i) {
          const std::wstring& line = self->lines_[i];
          ExtTextOutW(dc, area.left, area.top + static_cast<int>(i) * self->lineHeight_, ETO_CLIPPED, &area,
                      line.data(), static_cast<UINT>(line.size()), self->advances_[i].data());
        }
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kHideTimer) self->Hide();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      // A hint moved over the labels must not take the clicks meant for them.
      return HTTRANSPARENT;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace solvane::win32
