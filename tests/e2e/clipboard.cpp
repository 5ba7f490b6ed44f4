// The clipboard as another program uses it: copying, reading, emptying,
// and holding it open as a busy program does.

#include <cstddef>
#include <cstring>

#include "driver.h"

namespace driver {
namespace {

// The program (or Wine's X11 bridge) may hold the clipboard for a moment.
bool open_clipboard(HWND owner) {
  return wait_for(5000, [&] { return OpenClipboard(owner) != FALSE; });
}

}  // namespace

ClipboardSession::ClipboardSession(HWND owner) {
  if (!open_clipboard(owner)) throw Failure("could not open the clipboard within 5 s");
}

// EmptyClipboard with no owner may make SetClipboardData fail on Windows.
HWND make_owner_window() {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"solvane driver", 0, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) throw Failure("CreateWindowEx for the clipboard owner failed");
  return hwnd;
}

void put_clipboard(const std::vector<ClipData>& data) {
  std::vector<HGLOBAL> memory;
  const auto freeFrom = [&](size_t first) {
    for (size_t i = first; i < memory.size(); ++i) GlobalFree(memory[i]);
  };
  for (const ClipData& item : data) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, item.bytes.size());
    if (!mem) {
      freeFrom(0);
      throw Failure("GlobalAlloc failed");
    }
    std::memcpy(GlobalLock(mem), item.bytes.data(), item.bytes.size());
    GlobalUnlock(mem);
    memory.push_back(mem);
  }
  HWND owner = make_owner_window();
  {
    ClipboardSession session(owner);
    if (!EmptyClipboard()) {
      freeFrom(0);
      throw Failure("EmptyClipboard failed");
    }
    for (size_t i = 0; i < data.size(); ++i) {
      // The clipboard owns each handle once it is set.
      if (!SetClipboardData(data[i].format, memory[i])) {
        freeFrom(i);
        throw Failure("SetClipboardData(" + data[i].name + ") failed");
      }
    }
  }
  DestroyWindow(owner);
}

namespace {

// TEXT as CF_TEXT plus a registered marker format that asks clipboard
// monitors to leave the copy alone, both set in one clipboard open as a
// password manager does.
void set_secret(const std::string& text, const std::string& kind) {
  const char* format_name = nullptr;
  DWORD marker = 1;
  if (kind == "ignore") {
    format_name = "Clipboard Viewer Ignore";
  } else if (kind == "exclude") {
    format_name = "ExcludeClipboardContentFromMonitorProcessing";
  } else if (kind == "history0") {
    format_name = "CanIncludeInClipboardHistory";
    marker = 0;
  } else {
    throw UsageError("format must be ignore, exclude or history0: " + kind);
  }
  UINT format = RegisterClipboardFormatA(format_name);
  if (!format) throw Failure(std::string("RegisterClipboardFormat failed for ") + format_name);
  put_clipboard({{format, std::string(reinterpret_cast<const char*>(&marker), sizeof marker), format_name},
                 {CF_TEXT, std::string(text.c_str(), text.size() + 1), "CF_TEXT"}});
}

}  // namespace

void set_clip(const std::string& text) {
  put_clipboard({{CF_TEXT, std::string(text.c_str(), text.size() + 1), "CF_TEXT"}});
}

// Empty string with false when the clipboard holds no text.
bool get_clip(std::string& text) {
  ClipboardSession session(nullptr);
  HANDLE mem = GetClipboardData(CF_TEXT);
  if (!mem) return false;
  const char* src = static_cast<const char*>(GlobalLock(mem));
  if (!src) return false;
  size_t cap = GlobalSize(mem);
  text.assign(src, strnlen(src, cap));
  GlobalUnlock(mem);
  return true;
}

// ---- commands ----

int cmd_set_clip(const Args& args) {
  set_clip(decode_escapes(args[1]));
  return 0;
}

int cmd_set_secret(const Args& args) {
  set_secret(decode_escapes(args[1]), args[2]);
  return 0;
}

int cmd_hold_clip(const Args& args) {
  const DWORD ms = parse_number(args[1], "milliseconds");
  size_t next = 2;
  if (next + 1 < args.size() && args[next] == "copy") {
    set_clip(decode_escapes(args[next + 1]));
    next += 2;
  }
  std::vector<std::string> chords;
  if (next < args.size()) {
    if (args[next] != "keys" || next + 1 == args.size()) throw UsageError("hold-clip: expected keys CHORD...");
    chords.assign(args.begin() + static_cast<std::ptrdiff_t>(next) + 1, args.end());
  }
  HWND owner = make_owner_window();
  // Opened again at once after a copy: the copy's notice reaches the
  // monitors while the clipboard is held.
  if (!open_clipboard(owner)) throw Failure("OpenClipboard failed");
  const DWORD start = GetTickCount();
  for (const std::string& chord : chords) {
    press_chord(chord);
    Sleep(kPollMs);
  }
  const DWORD spent = GetTickCount() - start;
  if (spent < ms) Sleep(ms - spent);
  CloseClipboard();
  DestroyWindow(owner);
  return 0;
}

int cmd_clear_clip(const Args&) {
  HWND owner = make_owner_window();
  {
    ClipboardSession session(owner);
    if (!EmptyClipboard()) throw Failure("EmptyClipboard failed");
  }
  DestroyWindow(owner);
  return 0;
}

int cmd_get_clip(const Args&) {
  std::string text;
  if (!get_clip(text)) throw Failure("the clipboard holds no text");
  print_line(encode_escapes(text));
  return 0;
}

// get-clip stops at the first NUL, as a pasting program does; this shows
// whether the program put the rest of a text on the clipboard.
int cmd_get_clip_block(const Args&) {
  ClipboardSession session(nullptr);
  HANDLE mem = GetClipboardData(CF_TEXT);
  const char* src = mem ? static_cast<const char*>(GlobalLock(mem)) : nullptr;
  if (!src) throw Failure("the clipboard holds no text");
  std::string block(src, GlobalSize(mem));
  GlobalUnlock(mem);
  block.erase(block.find_last_not_of('\0') + 1);
  print_line(encode_escapes(block));
  return 0;
}

}  // namespace driver
