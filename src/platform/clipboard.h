#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace solvane {

// Plain text on the system clipboard: 8-bit (CF_TEXT) and Unicode.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // True when plain text is offered. Does not open the clipboard; never fails.
  virtual bool HasText() = 0;
  // True when the program that put the content there asked clipboard
  // history tools to keep it out of their records (password managers do):
  // the formats "Clipboard Viewer Ignore" or
  // "ExcludeClipboardContentFromMonitorProcessing" are present, or
  // "CanIncludeInClipboardHistory" holds the DWORD 0.
  virtual bool IsExcludedFromHistory() = 0;
  // The plain text up to its first NUL. nullopt when no text is offered or
  // the clipboard stayed locked by another program through a few retries.
  virtual std::optional<std::string> ReadText() = 0;
  // Empties the clipboard and leaves it holding only this text. False when
  // the clipboard stayed locked or memory ran out; nothing is changed then.
  virtual bool WriteText(std::string_view text) = 0;
  // The text as the clipboard offers it in Unicode (CF_UNICODETEXT), in
  // UTF-8, up to its first NUL; an unpaired surrogate becomes U+FFFD.
  // nullopt as for ReadText.
  virtual std::optional<std::string> ReadUnicodeText() = 0;
  // As WriteText, the text given in UTF-8 and put there as CF_UNICODETEXT
  // (the system offers CF_TEXT from it).
  virtual bool WriteUnicodeText(std::string_view utf8) = 0;
  // Text of the ANSI code page in UTF-8, as the system converts CF_TEXT to
  // CF_UNICODETEXT: what a clip recorded in ANSI stands for.
  virtual std::string AnsiToUtf8(std::string_view ansi) = 0;
  // The other way, as the system converts CF_UNICODETEXT to CF_TEXT: a
  // character the code page lacks becomes its stand-in ("?").
  virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;
  // Empties the clipboard. False when it stayed locked.
  virtual bool Clear() = 0;
};

}  // namespace solvane
