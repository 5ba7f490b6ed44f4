#pragma once
// The program's own failures. Each carries one of the program's messages;
// it is caught where the event entered the program, shown in an error box,
// and the program runs on.

#include <stdexcept>
#include <string>

namespace solvane {

class AppError : public std::runtime_error {
 public:
  explicit AppError(const std::string& message) : std::runtime_error(message) {}
};

// The messages, with their placeholder filled in.
std::string CannotOpenFileMessage(const std::string& path);
std::string CannotCreateFileMessage(const std::string& path);
std::string ListIndexOutOfBoundsMessage(int index);
inline constexpr const char* kLineInsertionError = "RichEdit line insertion error";
inline constexpr const char* kUnableToInsertLine = "Unable to insert a line";

}  // namespace solvane
