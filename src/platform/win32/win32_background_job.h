#pragma once
#include <windows.h>

#include <functional>

namespace solvane::win32 {

// A function run on a thread of its own from the moment the job is made;
// run right there instead when no thread can be made. Waits for the thread
// when it goes.
class BackgroundJob {
 public:
  explicit BackgroundJob(std::function<void()> job);
  ~BackgroundJob();
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;
  // Until the function has returned.
  void Wait() const;

 private:
  static DWORD WINAPI Run(void* self);
  std::function<void()> job_;
  HANDLE thread_ = nullptr;
};

}  // namespace solvane::win32
