// Text in UTF-8 on the driver's command line and in its output (escaped as
// elsewhere), for the clips that the ANSI code page cannot hold.

#include <cstring>

#include "driver.h"

namespace driver {

namespace {

std::wstring wide_of(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
  return wide;
}

}  // namespace

int cmd_set_clip_utf8(const Args& args) {
  const std::wstring text = wide_of(decode_escapes(args[1]));
  const auto* units = reinterpret_cast<const char*>(text.c_str());
  put_clipboard({{CF_UNICODETEXT, std::string(units, (text.size() + 1) * sizeof(wchar_t)), "CF_UNICODETEXT"}});
  return 0;
}

int cmd_get_clip_utf8(const Args&) {
  ClipboardSession session(nullptr);
  HANDLE mem = GetClipboardData(CF_UNICODETEXT);
  const auto* src = mem ? static_cast<const wchar_t*>(GlobalLock(mem)) : nullptr;
  if (!src) throw Failure("the clipboard holds no Unicode text");
  const std::wstring text(src, wcsnlen(src, GlobalSize(mem) / sizeof(wchar_t)));
  GlobalUnlock(mem);
  print_line(encode_escapes(narrow(text, CP_UTF8)));
  return 0;
}

// The list line's title as the list holds it, without the padding and key.
int cmd_title_utf8(const Args& args) {
  const int index = static_cast<int>(parse_number(args[1], "line"));
  const std::wstring text = list_item_wide(require_list(require_main()), index);
  if (text.size() < kItemTail) throw Failure("item " + args[1] + " is too short for title + padding + key");
  print_line(encode_escapes(narrow(text.substr(0, text.size() - kItemTail), CP_UTF8)));
  return 0;
}

int cmd_target_text_utf8(const Args&) {
  print_line(encode_escapes(narrow(window_text_wide(require_target_edit(require_target())), CP_UTF8)));
  return 0;
}

}  // namespace driver
