#include "paste/clipboard_commands.h"

#include "base/utf8.h"

namespace solvane {

namespace {

void ConvertLetters(Clipboard& clipboard, char from, char to) {
  if (!clipboard.HasText()) return;
  auto text = clipboard.ReadText();
  if (!text) return;
  // A text the ANSI code page cannot hold is converted in Unicode, so that
  // its other characters come back as they were.
  auto unicode = clipboard.ReadUnicodeText();
  if (unicode && *unicode != clipboard.AnsiToUtf8(*text)) {
    ConvertAsciiLetters(*unicode, from, to);
    clipboard.WriteUnicodeText(*unicode);
    return;
  }
  ConvertAsciiLetters(*text, from, to);
  clipboard.WriteText(*text);
}

}  // namespace

void UpperCaseClipboard(Clipboard& clipboard) { ConvertLetters(clipboard, 'a', 'A'); }

void LowerCaseClipboard(Clipboard& clipboard) { ConvertLetters(clipboard, 'A', 'a'); }

void ClearClipboard(Clipboard& clipboard) { clipboard.Clear(); }

}  // namespace solvane
