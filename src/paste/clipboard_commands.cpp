#include "paste/clipboard_commands.h"

namespace solvane {

namespace {

void ConvertLetters(Clipboard& clipboard, char from, char to) {
  if (!clipboard.HasText()) return;
  auto text = clipboard.ReadText();
  if (!text) return;
  for (char& c : *text) {
    if (c >= from && c <= static_cast<char>(from + 25)) c = static_cast<char>(c - from + to);
  }
  clipboard.WriteText(*text);
}

}  // namespace

void UpperCaseClipboard(Clipboard& clipboard) { ConvertLetters(clipboard, 'a', 'A'); }

void LowerCaseClipboard(Clipboard& clipboard) { ConvertLetters(clipboard, 'A', 'a'); }

void ClearClipboard(Clipboard& clipboard) { clipboard.Clear(); }

}  // namespace solvane
