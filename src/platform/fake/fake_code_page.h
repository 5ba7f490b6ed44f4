#pragma once
// The fake desktop's ANSI code page: Latin-1, as its clipboard converts.

#include "platform/code_page.h"

namespace solvane::fake {

class FakeCodePage : public CodePage {
 public:
  FakeCodePage();
  std::optional<std::string> FromUtf8(std::string_view utf8) override;
  const AnsiCase& Case() override { return case_; }

 private:
  AnsiCase case_;
};

}  // namespace solvane::fake
