#pragma once
#include <windows.h>

#include "platform/clipboard.h"

namespace solvane::win32 {

class Win32Clipboard : public Clipboard {
 public:
  // The clipboard is opened on behalf of `owner` (may be null).
  explicit Win32Clipboard(HWND owner = nullptr) : owner_(owner) {}
  void set_owner(HWND owner) { owner_ = owner; }

  bool HasText() override;
  bool IsExcludedFromHistory() override;
  std::optional<std::string> ReadText() override;
  bool WriteText(std::string_view text) override;
  std::optional<std::string> ReadUnicodeText() override;
  bool WriteUnicodeText(std::string_view utf8) override;
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
  bool Clear() override;

 private:
  bool Open();
  // A text format's bytes without the final NUL (`unit` bytes wide).
  std::optional<std::string> ReadFormat(UINT format, std::size_t unit);
  bool WriteFormat(UINT format, std::string_view bytes, std::size_t unit);
  HWND owner_;
};

}  // namespace solvane::win32
