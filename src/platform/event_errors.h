#pragma once
// Where an event handler's failure goes: the program shows its message and
// runs on, and nothing unwinds into the system that delivered the event.

#include <exception>

namespace solvane {

class EventErrors {
 public:
  // Shows the failure's message (an error box in the program); never throws.
  virtual void ShowException(const std::exception& error) = 0;

 protected:
  ~EventErrors() = default;
};

// Runs one event's handler; a failure goes to `errors`.
template <typename Handler>
void RunHandler(EventErrors& errors, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    errors.ShowException(error);
  }
}

}  // namespace solvane
