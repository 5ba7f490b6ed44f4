#include "platform/fake/fake_system.h"

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

int FakeTextMetrics::TextWidth(std::string_view text) {
  ++calls;
  int width = 0;
  for (const char c : text) width += CharWidth(c);
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
