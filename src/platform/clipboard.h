#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace solvane {

// Plain 8-bit text (CF_TEXT) on the system clipboard.
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
  // Empties the clipboard. False when it stayed locked.
  virtual bool Clear() = 0;
};

}  // namespace solvane
