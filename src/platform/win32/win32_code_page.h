#pragma once
// The system's ANSI code page through the Win32 API.

#include <windows.h>

#include "platform/code_page.h"

namespace solvane::win32 {

class Win32CodePage : public CodePage {
 public:
  Win32CodePage();
  std::optional<std::string> FromUtf8(std::string_view utf8) override;
  const AnsiCase& Case() override { return case_; }

 private:
  AnsiCase case_;
};

}  // namespace solvane::win32
