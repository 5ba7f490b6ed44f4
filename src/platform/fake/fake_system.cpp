#include "platform/fake/fake_system.h"

#include <cstdio>

namespace solvane::fake {

int FakeTextMetrics::CharWidth(char c) {
  switch (c) {
    case 'i': case 'l': case 'j': case 'I': case '.': case ',': case '\'': case '!': case '|': case ':':
      return 2;
    case 't': case 'f': case ' ': case 'r':
      return 3;
    case 'm': case 'w': case 'M': case 'W':
      return 9;
    default:
      return 6;
  }
}

namespace {

// CharWidth for every byte, looked up rather than switched on: the
// benchmarks measure whole histories through this font.
struct WidthTable {
  unsigned char width[256];
  WidthTable() {
    for (int c = 0; c < 256; ++c) width[c] = static_cast<unsigned char>(FakeTextMetrics::CharWidth(static_cast<char>(c)));
  }
};

}  // namespace

int FakeTextMetrics::TextWidth(std::string_view text) {
  ++calls;
  static const WidthTable table;
  int width = 0;
  for (const char c : text) width += table.width[static_cast<unsigned char>(c)];
  return width;
}

int FakeTextMetrics::Utf8TextWidth(std::string_view utf8) {
  int width = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      width += CharWidth(static_cast<char>(c));
    } else if ((c & 0xC0) != 0x80) {
      width += 10;
    }
  }
  ++calls;
  return width;
}

void FakeDialogs::ShowError(const std::string& message) {
  errors.push_back(message);
  if (whileOpen) whileOpen();
}

bool FakeDialogs::Confirm(const std::string& question) {
  questions.push_back(question);
  if (whileOpen) whileOpen();
  return answer;
}

}  // namespace solvane::fake

namespace solvane::fake {

void FakeInput::KeyEvent(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags) {
  ++keyEvents;
  if (log) {
    char text[48];
    std::snprintf(text, sizeof text, "key %02X %u %u", virtualKey, static_cast<unsigned>(scanCode),
                  static_cast<unsigned>(flags));
    log->push_back(text);
  }
}

void FakeInput::Sleep(int milliseconds) {
  if (log) log->push_back("sleep " + std::to_string(milliseconds));
}

WindowHandle FakeHotKeys::CreateHotKeyWindow(MessageHook hook) {
  const WindowHandle window = 0x500 + windows.size();
  windows[window] = std::move(hook);
  return window;
}

void FakeHotKeys::DestroyHotKeyWindow(WindowHandle window) { windows.erase(window); }

bool FakeHotKeys::RegisterHotKey(WindowHandle window, int id, unsigned modifiers, unsigned virtualKey) {
  char text[48];
  std::snprintf(text, sizeof text, "register %d %u 0x%02X", id, modifiers, virtualKey);
  calls.push_back(text);
  for (const auto& held : heldElsewhere) {
    if (held.first == modifiers && held.second == virtualKey) return false;
  }
  active.push_back({window, id, modifiers, virtualKey});
  return true;
}

void FakeHotKeys::UnregisterHotKey(WindowHandle window, int id) {
  calls.push_back("unregister " + std::to_string(id));
  for (auto it = active.begin(); it != active.end(); ++it) {
    if (it->window == window && it->id == id) {
      active.erase(it);
      return;
    }
  }
}

bool FakeHotKeys::Press(unsigned modifiers, unsigned virtualKey) {
  for (const auto& registration : active) {
    if (registration.modifiers == modifiers && registration.virtualKey == virtualKey) {
      // Copy: the handler may change the registrations.
      MessageHook hook = windows[registration.window];
      hook(kWmHotKey);
      return true;
    }
  }
  return false;
}

// A US layout's names for a few keys without fixed names.
std::string FakeKeyNames::PlatformKeyName(unsigned virtualKey) {
  switch (virtualKey) {
    case 0xBA: return ";";
    case 0xBB: return "=";
    case 0xBC: return ",";
    case 0xC0: return "`";
    case 0x10: return "Shift";
    case 0x90: return "Num Lock";
    default: return "";
  }
}

}  // namespace solvane::fake
