#include "platform/win32/win32_clipboard.h"

#include <cstring>

#include "platform/win32/win32_owned.h"

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

std::optional<std::string> Win32Clipboard::ReadText() {
  if (!HasText() || !Open()) return std::nullopt;
  ClipboardSession session;
  HANDLE data = GetClipboardData(CF_TEXT);  // owned by the clipboard
  if (data == nullptr) return std::nullopt;
  const char* bytes = static_cast<const char*>(GlobalLock(data));
  if (bytes == nullptr) return std::nullopt;
  // Never read past the block, even when its text lacks the final NUL.
  const SIZE_T size = GlobalSize(data);
  const void* nul = std::memchr(bytes, '\0', size);
  const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
  std::string text(bytes, length);
  GlobalUnlock(data);
  return text;
}

bool Win32Clipboard::WriteText(std::string_view text) {
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (block == nullptr) return false;
  char* bytes = static_cast<char*>(GlobalLock(block));
  if (bytes == nullptr) return false;
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block);
  if (!Open()) return false;
  ClipboardSession session;
  EmptyClipboard();
  if (SetClipboardData(CF_TEXT, block) == nullptr) return false;
  block.release();  // the clipboard owns the block from here on
  return true;
}

bool Win32Clipboard::Clear() {
  if (!Open()) return false;
  ClipboardSession session;
  return EmptyClipboard() != FALSE;
}

}  // namespace solvane::win32
