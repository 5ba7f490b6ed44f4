#include "platform/win32/win32_system.h"

#include "base/app_title.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

std::int64_t Win32Clock::LocalTimeSeconds() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  local.wMilliseconds = 0;
  FILETIME asFileTime{};
  SystemTimeToFileTime(&local, &asFileTime);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = asFileTime.dwLowDateTime;
  ticks.HighPart = asFileTime.dwHighDateTime;
  return static_cast<std::int64_t>(ticks.QuadPart / 10000000ULL);
}

Win32TextMetrics::Win32TextMetrics() {
  dc_.reset(CreateCompatibleDC(nullptr));
  font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
  fontInDc_ = SelectedObject(dc_, font_);
  // A loaded history measures 20,000 titles, one GDI call each under the
  // plain way. Adding up the characters' advances is the same number for a
  // single-byte code page and a font without kerning or overhang; checked
  // here on every character, else the plain way stays.
  CPINFO codePage{};
  TEXTMETRICA metrics{};
  std::vector<INT> advances(256);
  if (GetCPInfo(CP_ACP, &codePage) && codePage.MaxCharSize == 1 && GetTextMetricsA(dc_, &metrics) &&
      metrics.tmOverhang == 0 && GetCharWidth32A(dc_, 0, 255, advances.data())) {
    std::string all;
    int sum = 0;
    for (int c = 32; c < 256; ++c) {
      all += static_cast<char>(c);
      sum += advances[static_cast<std::size_t>(c)];
    }
    if (MeasuredWidth(all) == sum) advances_.assign(advances.begin(), advances.end());
  }
}

Win32TextMetrics::~Win32TextMetrics() = default;

int Win32TextMetrics::TextWidth(std::string_view text) {
  if (advances_.empty()) return MeasuredWidth(text);
  int width = 0;
  for (const char c : text) width += advances_[static_cast<unsigned char>(c)];
  return width;
}

int Win32TextMetrics::Utf8TextWidth(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  SIZE size{};
  if (wide.empty() || !GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size)) return 0;
  return size.cx;
}

int Win32TextMetrics::MeasuredWidth(std::string_view text) const {
  if (text.empty()) return 0;
  SIZE size{};
  if (!GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

void Win32Dialogs::ShowError(const std::string& message) {
  MessageBoxA(BoxOwner(), message.c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

bool Win32Dialogs::Confirm(const std::string& question) {
  return MessageBoxA(BoxOwner(), question.c_str(), "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32Timers::SetInterval(int timer, int milliseconds) {
  if (milliseconds > 0) {
    SetTimer(window_, static_cast<UINT_PTR>(timer), static_cast<UINT>(milliseconds), nullptr);
  } else {
    KillTimer(window_, static_cast<UINT_PTR>(timer));
  }
}

int Win32FormWindow::Width() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  return bounds.right - bounds.left;
}

int Win32FormWindow::Left() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  return bounds.left;
}

int Win32FormWindow::Top() const {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  return bounds.top;
}

void CentreOnScreen(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<HintRect> WorkAreas() {
  std::vector<HintRect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM found) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(monitor, &info)) {
          const RECT& r = info.rcWork;
          reinterpret_cast<std::vector<HintRect>*>(found)->push_back(HintRect{r.left, r.top, r.right, r.bottom});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void KeepOnScreen(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return;
  const HintRect now{r.left, r.top, r.right, r.bottom};
  const HintRect placed = solvane::KeepOnScreen(now, WorkAreas());
  if (placed == now) return;
  SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Where it last stood (centred once, at the start): the hotkey never moves
// it, unless no screen is there any more.
void Win32FormWindow::ShowRestored() {
  KeepOnScreen(window_);
  ShowWindow(window_, SW_SHOW);
}

// The program has no task-bar button; minimising it means its window goes.
void Win32FormWindow::MinimizeApplication() { ShowWindow(window_, SW_HIDE); }

void Win32FormWindow::TakeForeground() {
  // NOTE: the system lets only the foreground thread hand the foreground on,
  // so borrow that thread's input state for the one call.
  const DWORD foreground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const DWORD self = GetCurrentThreadId();
  const bool attached = foreground != 0 && foreground != self && AttachThreadInput(foreground, self, TRUE);
  SetForegroundWindow(window_);
  if (attached) AttachThreadInput(foreground, self, FALSE);
}

void Win32FormWindow::BringToTop() {
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void Win32FormWindow::SetWidth(int width) {
  RECT bounds{};
  GetWindowRect(window_, &bounds);
  SetWindowPos(window_, nullptr, 0, 0, width, bounds.bottom - bounds.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string ProgramFolder() {
  const std::string path = ModulePath();
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ApplicationTitle() { return ApplicationTitleOf(ModulePath()); }

}  // namespace solvane::win32
