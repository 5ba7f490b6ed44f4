// Text on the driver's command line and in its output: C-style escapes so
// every byte survives the shell, numbers, and Windows' wide strings.

#include <cstdio>
#include <cstdlib>

#include "driver.h"

namespace driver {
namespace {

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// \xHH takes exactly two digits, unlike C, so "\x41BC" is "ABC".
std::string decode_escapes(const std::string& in) {
  std::string out;
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\') {
      out += in[i];
      continue;
    }
    if (i + 1 >= in.size()) throw UsageError("text ends with a lone backslash");
    char c = in[++i];
    switch (c) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case '\\':
        out += '\\';
        break;
      case 'x': {
        int hi = i + 1 < in.size() ? hex_digit(in[i + 1]) : -1;
        int lo = i + 2 < in.size() ? hex_digit(in[i + 2]) : -1;
        if (hi < 0 || lo < 0) throw UsageError("\\x needs two hex digits");
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        throw UsageError(std::string("unknown escape \\") + c);
    }
  }
  return out;
}

// Inverse of decode_escapes; bytes outside printable ASCII become \xHH so the
// output does not depend on the console's code page.
std::string encode_escapes(const std::string& in) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : in) {
    switch (c) {
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (c < 0x20 || c >= 0x7f) {
          out += "\\x";
          out += digits[c >> 4];
          out += digits[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

unsigned long parse_number(const std::string& text, const char* what) {
  char* end = nullptr;
  unsigned long value = std::strtoul(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') throw UsageError(std::string("not a number for ") + what + ": " + text);
  return value;
}

std::string narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string hwnd_text(HWND hwnd) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", static_cast<void*>(hwnd));
  return buf;
}

std::wstring wide_ascii(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

int int_arg(const std::string& text) { return static_cast<int>(std::strtol(text.c_str(), nullptr, 10)); }

void print_line(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

void print_rect(const RECT& rc) { print_line(rect_text(rc)); }

}  // namespace driver
