#include "platform/win32/win32_background_job.h"

namespace solvane::win32 {

BackgroundJob::BackgroundJob(std::function<void()> job) : job_(std::move(job)) {
  thread_ = CreateThread(nullptr, 0, &BackgroundJob::Run, this, 0, nullptr);
  if (thread_ == nullptr) job_();
}

BackgroundJob::~BackgroundJob() {
  if (thread_ == nullptr) return;
  Wait();
  CloseHandle(thread_);
}

void BackgroundJob::Wait() const {
  if (thread_ != nullptr) WaitForSingleObject(thread_, INFINITE);
}

DWORD WINAPI BackgroundJob::Run(void* self) {
  static_cast<BackgroundJob*>(self)->job_();
  return 0;
}

}  // namespace solvane::win32
