#include "platform/fake/fake_dialogs.h"

namespace solvane::fake {

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
