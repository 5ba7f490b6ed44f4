#include "base/utf8.h"

namespace solvane {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed character starting at text[i], or 0.
std::size_t CharacterLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (!IsContinuation(byte(i + k))) return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = CharacterLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::size_t Utf8CutPoint(std::string_view text, std::size_t at) {
  if (at >= text.size()) return text.size();
  while (at > 0 && IsContinuation(static_cast<unsigned char>(text[at]))) --at;
  return at;
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if (!IsContinuation(static_cast<unsigned char>(c))) ++count;
  }
  return count;
}

std::size_t Utf8Offset(std::string_view text, std::size_t characters) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsContinuation(static_cast<unsigned char>(text[i]))) continue;
    if (characters == 0) return i;
    --characters;
  }
  return text.size();
}

void ConvertAsciiLetters(std::string& text, char from, char to) {
  for (char& c : text) {
    if (c >= from && c <= static_cast<char>(from + 25)) c = static_cast<char>(c - from + to);
  }
}

}  // namespace solvane
