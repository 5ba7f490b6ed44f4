#pragma once
#include <string>

namespace solvane {

// Message boxes. Both run a nested message loop on Windows: clipboard
// changes and timer ticks are still handled while they wait.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // An error box with the message and an OK button, titled with the
  // program's title; returns when it is closed.
  virtual void ShowError(const std::string& message) = 0;
  // A confirmation box: caption "Confirm", question icon, Yes and No.
  // True for Yes; false for No, and when the box cannot be shown.
  virtual bool Confirm(const std::string& question) = 0;
};

}  // namespace solvane
