#include "platform/win32/win32_clipboard.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/win32_owned.h"
#include "platform/win32/win32_text.h"

namespace solvane::win32 {

namespace {

// About half a second in all: clipboard tools and remote-desktop clients
// hold the clipboard for a few hundred milliseconds.
constexpr int kOpenTries = 20;
constexpr DWORD kRetryPauseMs = 25;

// Closes the clipboard on every path out.
class ClipboardSession {
 public:
  ~ClipboardSession() { CloseClipboard(); }
};

}  // namespace

// NOTE: another program may hold the clipboard open for a moment (many
// copy the same data in several formats); a single failed OpenClipboard
// would lose the clip, so keep trying for a while before giving up.
bool Win32Clipboard::Open() {
  for (int attempt = 0; attempt < kOpenTries; ++attempt) {
    if (OpenClipboard(owner_)) return true;
    Sleep(kRetryPauseMs);
  }
  return false;
}

bool Win32Clipboard::HasText() { return IsClipboardFormatAvailable(CF_TEXT) != FALSE; }

bool Win32Clipboard::IsExcludedFromHistory() {
  static const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
  static const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
  static const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
  if (IsClipboardFormatAvailable(ignore) || IsClipboardFormatAvailable(exclude)) return true;
  if (!IsClipboardFormatAvailable(history) || !Open()) return false;
  ClipboardSession session;
  HANDLE data = GetClipboardData(history);
  if (data == nullptr || GlobalSize(data) < sizeof(DWORD)) return false;
  const auto* value = static_cast<const DWORD*>(GlobalLock(data));
  const bool excluded = value != nullptr && *value == 0;
  if (value != nullptr) GlobalUnlock(data);
  return excluded;
}

// The text of a format up to its first NUL character: `unit` bytes each,
// and never past the block, even when its text lacks the final NUL.
std::optional<std::string> Win32Clipboard::ReadFormat(UINT format, std::size_t unit) {
  if (!IsClipboardFormatAvailable(format) || !Open()) return std::nullopt;
  ClipboardSession session;
  HANDLE data = GetClipboardData(format);  // owned by the clipboard
  if (data == nullptr) return std::nullopt;
  const char* bytes = static_cast<const char*>(GlobalLock(data));
  if (bytes == nullptr) return std::nullopt;
  const std::size_t units = GlobalSize(data) / unit;
  std::size_t length = units;
  if (unit == 1) {
    if (const void* nul = std::memchr(bytes, '\0', units))
      length = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes);
  } else {
    for (std::size_t i = 0; i < units; ++i) {
      if (bytes[i * 2] == '\0' && bytes[i * 2 + 1] == '\0') {
        length = i;
        break;
      }
    }
  }
  std::string text(bytes, length * unit);
  GlobalUnlock(data);
  return text;
}

bool Win32Clipboard::WriteFormat(UINT format, std::string_view bytes, std::size_t unit) {
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, bytes.size() + unit));
  if (block == nullptr) return false;
  char* to = static_cast<char*>(GlobalLock(block));
  if (to == nullptr) return false;
  std::memcpy(to, bytes.data(), bytes.size());
  std::memset(to + bytes.size(), 0, unit);
  GlobalUnlock(block);
  if (!Open()) return false;
  ClipboardSession session;
  EmptyClipboard();
  if (SetClipboardData(format, block) == nullptr) return false;
  block.release();  // the clipboard owns the block from here on
  return true;
}

std::optional<std::string> Win32Clipboard::ReadText() {
  if (!HasText()) return std::nullopt;
  return ReadFormat(CF_TEXT, 1);
}

bool Win32Clipboard::WriteText(std::string_view text) { return WriteFormat(CF_TEXT, text, 1); }

std::optional<std::string> Win32Clipboard::ReadUnicodeText() {
  auto bytes = ReadFormat(CF_UNICODETEXT, sizeof(wchar_t));
  if (!bytes) return std::nullopt;
  std::wstring wide(bytes->size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes->data(), bytes->size());
  return Utf8Of(wide);
}

bool Win32Clipboard::WriteUnicodeText(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  return WriteFormat(CF_UNICODETEXT,
                     std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)),
                     sizeof(wchar_t));
}

std::string Win32Clipboard::AnsiToUtf8(std::string_view ansi) { return Utf8Of(Widen(ansi, CP_ACP)); }

std::string Win32Clipboard::Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr, nullptr);
  return ansi;
}

bool Win32Clipboard::Clear() {
  if (!Open()) return false;
  ClipboardSession session;
  return EmptyClipboard() != FALSE;
}

}  // namespace solvane::win32
