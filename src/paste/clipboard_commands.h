#pragma once
// The tray menu's clipboard commands. Each works on the clipboard's text in
// place; the write is then captured like any copy.

#include "platform/clipboard.h"

namespace solvane {

// a-z become A-Z (and back); every other character stays as it is.
void UpperCaseClipboard(Clipboard& clipboard);
void LowerCaseClipboard(Clipboard& clipboard);
void ClearClipboard(Clipboard& clipboard);

}  // namespace solvane
