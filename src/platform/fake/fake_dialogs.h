#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace solvane::fake {

// Message boxes that record what they said and give a set answer.
class FakeDialogs : public Dialogs {
 public:
  void ShowError(const std::string& message) override;
  bool Confirm(const std::string& question) override;
  std::vector<std::string> errors;
  std::vector<std::string> questions;
  bool answer = true;  // Yes
  // Runs while a box is up, as the nested message loop would.
  std::function<void()> whileOpen;
};

}  // namespace solvane::fake
